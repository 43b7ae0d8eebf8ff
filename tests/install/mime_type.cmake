# Builds a MIME database from the freedesktop.org types and the installed vbtools.xml with
# update-mime-database, as the package's trigger does, and checks that it takes the file without a
# complaint and that its glob finds project files in any letter case.
set(database ${WORK}/mime)
file(REMOVE_RECURSE ${database})
file(MAKE_DIRECTORY ${database}/packages)
file(COPY ${SYSTEM_TYPES} DESTINATION ${database}/packages)
configure_file(${TYPES} ${database}/packages/vbtools.xml COPYONLY)
execute_process(COMMAND ${UPDATE_MIME_DATABASE} -V ${database} RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE errors)
string(REGEX MATCHALL "[^\n]*(Error|error|Warning|warning|Unknown|unknown)[^\n]*" complaints "${errors}")
if(NOT result EQUAL 0 OR complaints)
    message(FATAL_ERROR "update-mime-database: status ${result}\n${complaints}\n${errors}")
endif()
file(STRINGS ${database}/globs2 globs REGEX "text/x-vbp")
# "WEIGHT:TYPE:GLOB" without ":cs" at the end: the glob ignores letter case.
if(NOT globs STREQUAL "50:text/x-vbp:*.vbp")
    message(FATAL_ERROR "globs2 holds [${globs}] for text/x-vbp")
endif()
file(READ ${database}/magic magic HEX)
string(HEX "Type=OleDll\r\n" ole_dll)
string(FIND "${magic}" "${ole_dll}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "the magic of text/x-vbp lacks Type=OleDll followed by CR LF")
endif()
