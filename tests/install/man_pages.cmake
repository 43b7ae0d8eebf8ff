# The manual pages in the installed layout: each program's page under man1 and de/man1, rendered by man
# without a warning (as lintian renders them), in German, with the sections a reader looks for, and the
# page of vbprojekt with every command of its help and their options.
#   -DMAN=<man> -DMANDIR=<prefix/share/man> -DPROGRAM=<vbprojekt>
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help)
string(REGEX MATCH "\nBefehle:\n([^\n]+\n)+" listing "${help}")
string(REGEX MATCHALL "\n  [a-z][a-z-]*" commands "${listing}")
list(TRANSFORM commands REPLACE "\n  " "vbprojekt ")

set(problems "")
foreach(page_and_words IN ITEMS "voduvov;Tallimar;Alle Voduvov:" "vuzaraze;Fugabar;Datei generieren"
                                "vbprojekt;${commands};--code-only;--json;Exit-Status")
    list(POP_FRONT page_and_words page)
    foreach(folder IN ITEMS man1 de/man1)
        set(file ${MANDIR}/${folder}/${page}.1.gz)
        if(NOT EXISTS ${file})
            string(APPEND problems "\n  missing ${file}")
            continue()
        endif()
        execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANROFFSEQ= MANWIDTH=80
                                ${MAN} --warnings -E UTF-8 -l -Tutf8 ${file}
                        OUTPUT_VARIABLE text ERROR_VARIABLE warnings RESULT_VARIABLE result)
        if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
            string(APPEND problems "\n  ${file}: exit ${result}: ${warnings}")
        endif()
        # man marks bold and underlined text with backspaces; the words are looked for without them.
        string(ASCII 8 backspace)
        string(REGEX REPLACE ".${backspace}" "" text "${text}")
        foreach(word IN ITEMS BEZEICHNUNG ÜBERSICHT BESCHREIBUNG OPTIONEN EXIT-STATUS BEISPIELE DATEIEN "SIEHE AUCH"
                          ${page_and_words})
            string(FIND "${text}" "${word}" at)
            if(at EQUAL -1)
                string(APPEND problems "\n  ${file} does not say ${word}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(problems)
    message(FATAL_ERROR "manual pages:${problems}")
endif()
