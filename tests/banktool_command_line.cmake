# Runs the real lexamo-bank: --help succeeds and says how to import; a bad import fails with
# status 1, names the file and line, and leaves no bank behind; history draws its plot without a
# display.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

execute_process(COMMAND ${TOOL} --help RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "import FILE\\.\\.\\. -o BANK")
    message(FATAL_ERROR "--help: status ${status}, output:\n${out}")
endif()

file(WRITE ${WORK}/bad.csv "question,a,b,c,d,e,answer\nQ,a,b,c,d,e,a\nQ,a,b,c,d,e,g\n")
execute_process(COMMAND ${TOOL} import ${WORK}/bad.csv -o ${WORK}/bank.zep
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "bad\\.csv:3: the answer \"g\"")
    message(FATAL_ERROR "bad import: status ${status}, messages:\n${err}")
endif()
if(EXISTS ${WORK}/bank.zep)
    message(FATAL_ERROR "bad import left a bank behind")
endif()

# history draws its plot from a plain terminal: no display, whatever QT_QPA_PLATFORM says.
file(WRITE ${WORK}/results.csv
    "date,ended,questions,minutes,seconds,correct\r\n"
    "2026-12-01T18:00:00,complete,1,15,60,1,3,a,a\r\n"
    "2026-12-02T18:00:00,quit,2,15,61,0,4,,b\r\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        QT_QPA_PLATFORM=xcb
                        ${TOOL} history ${WORK}/results.csv --plot ${WORK}/plot.png
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "Tests taken: 2" OR NOT err STREQUAL ""
   OR NOT EXISTS ${WORK}/plot.png)
    message(FATAL_ERROR "history --plot: status ${status}, output:\n${out}\nmessages:\n${err}")
endif()
