# Starts an installed program on Qt's offscreen platform with its test hook, which prints the main window's
# caption and the German "Cancel" of Qt's own buttons once the window is shown, and ends the program.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen VBTOOLS_SMOKE_TEST=1 ${PROGRAM}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 30)
set(expected "${CAPTION}\nAbbrechen\n")
if(NOT result EQUAL 0 OR NOT output STREQUAL expected)
    message(FATAL_ERROR "${PROGRAM}: status ${result}\noutput: [${output}]\nexpected: [${expected}]\n"
                        "errors: ${errors}")
endif()
