# Starts an installed program on Qt's offscreen platform with the test's generic plugin loaded from
# PROBE_PLUGINS, which prints the main window's caption and the German "Cancel" of Qt's own buttons once the
# window is shown, and ends the program.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=${PROBE_PLUGINS}
                        QT_QPA_GENERIC_PLUGINS=vbtoolsstarted ${PROGRAM}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 30)
set(expected "${CAPTION}\nAbbrechen\n")
if(NOT result EQUAL 0 OR NOT output STREQUAL expected)
    message(FATAL_ERROR "${PROGRAM}: status ${result}\noutput: [${output}]\nexpected: [${expected}]\n"
                        "errors: ${errors}")
endif()
