# Makes the manual page of vbprojekt from its help texts with help2man: the program's --help gives the
# description and options, the --help of each command listed under "Befehle:" a subsection of BEFEHLE,
# and the "Aufruf:" line of each command the synopsis. help2man names its own sections in English; they
# get their German names here, as German manual pages call them.
#   -DPROGRAM=<vbprojekt> -DHELP2MAN=<help2man> -DINCLUDE=<vbprojekt.h2m> -DWORK=<folder> -DOUTPUT=<page>
#   -DPAGE_DATE=<date>
cmake_minimum_required(VERSION 3.25)

function(run_help out)
    execute_process(COMMAND ${PROGRAM} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} ${ARGN} --help failed: ${result}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# help2man's output for one program and a German locale of its characters.
function(run_help2man out executable)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
                            ${HELP2MAN} --locale=C.UTF-8 --no-info --section=1 --manual=Benutzerbefehle
                            ${ARGN} ${executable}
                    OUTPUT_VARIABLE page RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "help2man ${executable} failed: ${result}")
    endif()
    set(${out} "${page}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# The commands: the first word of each line of the help's "Befehle:" list.
run_help(help)
string(REGEX MATCH "\nBefehle:\n([^\n]+\n)+" listing "${help}")
string(REGEX MATCHALL "\n  [a-z][a-z-]*" commands "${listing}")
list(TRANSFORM commands REPLACE "\n  " "")
if(NOT commands)
    message(FATAL_ERROR "no commands in the help of ${PROGRAM}")
endif()

set(synopsis "")
set(sections "")
foreach(command IN LISTS commands)
    # help2man runs a program with --help; this one stands for the command.
    set(wrapper ${WORK}/vbprojekt-${command})
    file(WRITE ${wrapper} "#!/bin/sh\nexec '${PROGRAM}' ${command} \"$@\"\n")
    file(CHMOD ${wrapper} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    run_help2man(page ${wrapper} --no-discard-stderr --version-string=${command})

    # Its description, without the "Aufruf:" line, which goes into the synopsis.
    string(REGEX REPLACE ".*\n\\.SH DESCRIPTION\n" "" body "${page}")
    string(REGEX MATCH "\nAufruf: vbprojekt ${command} ([^\n]*)" usage "${body}")
    set(operands "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "\nAufruf: [^\n]*" "" body "${body}")
    # Its lists become paragraphs with a bold caption under the command's subsection.
    string(REGEX REPLACE "\n\\.SS \"([^\"]*)\"" "\n.PP\n\\\\fB\\1\\\\fR" body "${body}")
    string(APPEND sections ".SS \"vbprojekt ${command}\"\n${body}")
    string(APPEND synopsis ".B vbprojekt ${command}\n${operands}\n.br\n")
endforeach()

file(READ ${INCLUDE} include)
string(FIND "${include}" "[" first_section) # what comes before the first section is a comment
string(SUBSTRING "${include}" ${first_section} -1 include)
file(WRITE ${WORK}/vbprojekt.h2m
     "[SYNOPSIS]\n${synopsis}.B vbprojekt\n\\-\\-help | \\-\\-version\n\n[BEFEHLE]\n${sections}\n${include}")
run_help2man(page ${PROGRAM} --include=${WORK}/vbprojekt.h2m)

# The program's own options get a section of their own after the description.
string(REGEX MATCH "\n\\.SS \"Optionen:\"\n.*\n\\.SS \"Befehle:\"\n" options "${page}")
if(options)
    string(REPLACE "${options}" "\n.SS \"Befehle:\"\n" page "${page}")
    string(REGEX REPLACE "^\n\\.SS \"Optionen:\"\n(.*)\n\\.SS \"Befehle:\"\n$" "\\1" options "${options}")
    string(REPLACE "\n.SH BEFEHLE\n" "\n.SH OPTIONEN\n${options}\n.SH BEFEHLE\n" page "${page}")
endif()
# The top help's own "Aufruf:" line is in the synopsis already.
string(REGEX REPLACE "\nAufruf: [^\n]*" "" page "${page}")
string(REGEX REPLACE "\n\\.TH ([^ ]+) \"1\" \"[^\"]*\"" "\n.TH \\1 \"1\" \"${PAGE_DATE}\"" page "${page}")
foreach(names IN ITEMS "NAME;BEZEICHNUNG" "SYNOPSIS;ÜBERSICHT" "DESCRIPTION;BESCHREIBUNG" "\"SEE ALSO\";\"SIEHE AUCH\"")
    list(GET names 0 english)
    list(GET names 1 german)
    string(REPLACE "\n.SH ${english}\n" "\n.SH ${german}\n" page "${page}")
endforeach()
file(WRITE ${OUTPUT} "${page}")
