# Installs the build into PREFIX (emptied first) and checks that every program has what a desktop needs:
# the program, a menu entry whose Exec and Icon name what was installed, the icons in the hicolor theme
# (scalable SVG and 32 x 32 PNG), an AppStream description that launches that menu entry, and the project
# files' type that the menu entries name.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(problems "")
foreach(program IN ITEMS voduvov vuzaraze)
    set(id org.example.${program})
    set(program_file ${PREFIX}/${BINDIR}/${program})
    set(desktop_file ${PREFIX}/${DATADIR}/applications/${id}.desktop)
    set(metainfo_file ${PREFIX}/${DATADIR}/metainfo/${id}.metainfo.xml)
    set(svg ${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/${id}.svg)
    set(png ${PREFIX}/${DATADIR}/icons/hicolor/32x32/apps/${id}.png)

    foreach(file IN ITEMS ${program_file} ${desktop_file} ${metainfo_file} ${svg} ${png})
        if(NOT EXISTS ${file})
            string(APPEND problems "\n  missing ${file}")
        endif()
    endforeach()

    if(EXISTS ${desktop_file})
        file(STRINGS ${desktop_file} exec REGEX "^Exec=")
        file(STRINGS ${desktop_file} icon REGEX "^Icon=")
        # One project file as the argument (%f: a file manager hands over one local file).
        if(NOT exec STREQUAL "Exec=${program} %f")
            string(APPEND problems "\n  ${id}.desktop: ${exec} instead of Exec=${program} %f")
        endif()
        file(STRINGS ${desktop_file} mime_types REGEX "^MimeType=")
        string(FIND "${mime_types}" "MimeType=text/x-vbp" at)
        if(NOT at EQUAL 0)
            string(APPEND problems "\n  ${id}.desktop: [${mime_types}] instead of MimeType=text/x-vbp;")
        endif()
        if(NOT icon STREQUAL "Icon=${id}")
            string(APPEND problems "\n  ${id}.desktop: ${icon} instead of Icon=${id}")
        endif()
    endif()
    if(EXISTS ${metainfo_file})
        file(READ ${metainfo_file} metainfo)
        foreach(element IN ITEMS "<id>${id}</id>"
                                 "<launchable type=\"desktop-id\">${id}.desktop</launchable>"
                                 "<binary>${program}</binary>")
            string(FIND "${metainfo}" "${element}" at)
            if(at EQUAL -1)
                string(APPEND problems "\n  ${id}.metainfo.xml lacks ${element}")
            endif()
        endforeach()
    endif()
    if(EXISTS ${png})
        # A PNG's IHDR holds width and height as 32-bit big-endian numbers from byte 16 on.
        file(READ ${png} size OFFSET 16 LIMIT 8 HEX)
        if(NOT size STREQUAL "0000002000000020")
            string(APPEND problems "\n  ${png} is not 32 x 32 (${size})")
        endif()
    endif()
endforeach()

if(NOT EXISTS ${PREFIX}/${DATADIR}/mime/packages/vbtools.xml)
    string(APPEND problems "\n  missing ${PREFIX}/${DATADIR}/mime/packages/vbtools.xml")
endif()

if(problems)
    message(FATAL_ERROR "installed layout in ${PREFIX}:${problems}")
endif()
