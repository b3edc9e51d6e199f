# Runs the real lexamo-bank: --help succeeds and says how to import; an import that leaves a
# question out ends with status 3 and names it; with --strict it fails with status 1, names the
# file and line, and leaves no bank behind; "-" reads standard input and
# writes standard output; a file size limit gives "File too large", not a killed tool, also when
# it cuts standard output short; history draws its plot without a display.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

execute_process(COMMAND ${TOOL} --help RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "import FILE\\.\\.\\. -o BANK")
    message(FATAL_ERROR "--help: status ${status}, output:\n${out}")
endif()

file(WRITE ${WORK}/bad.csv "question,a,b,c,d,e,answer\nQ,a,b,c,d,e,a\nQ,a,b,c,d,e,g\n")
execute_process(COMMAND ${TOOL} import ${WORK}/bad.csv -o ${WORK}/kept.zep
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 3 OR NOT err MATCHES "bad\\.csv:3: left out: the answer \"g\"")
    message(FATAL_ERROR "import leaving a question out: status ${status}, messages:\n${err}")
endif()
execute_process(COMMAND ${TOOL} import ${WORK}/bad.csv --strict -o ${WORK}/bank.zep
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "bad\\.csv:3: the answer \"g\"")
    message(FATAL_ERROR "bad import: status ${status}, messages:\n${err}")
endif()
if(EXISTS ${WORK}/bank.zep)
    message(FATAL_ERROR "bad import left a bank behind")
endif()

# Standard input and output stand for the files as "-".
file(WRITE ${WORK}/in.csv "question,a,b,c,d,e,answer\nQ,a,b,c,d,e,c\n")
execute_process(COMMAND ${TOOL} import - --format csv -o ${WORK}/piped.zep
    INPUT_FILE ${WORK}/in.csv RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "1 question written")
    message(FATAL_ERROR "import from standard input: status ${status}, messages:\n${out}${err}")
endif()
execute_process(COMMAND bash -c "cat \"$1\" \"$1\" | \"$0\" import - --format csv -o \"$2\""
                        ${TOOL} ${WORK}/in.csv ${WORK}/twice.zep
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 3 OR NOT err MATCHES "standard input:3: left out: the answer \"answer\"")
    message(FATAL_ERROR "import from a pipe: status ${status}, messages:\n${err}")
endif()
execute_process(COMMAND ${TOOL} export ${WORK}/piped.zep -o - --format gift
    RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out STREQUAL "::Q1:: Q {\n~a\n~b\n=c\n~d\n~e\n}\n\n")
    message(FATAL_ERROR "export to standard output: status ${status}, output:\n${out}")
endif()

# A file size limit makes the write fail with its reason; it does not kill the tool.
string(REPEAT "Q,a,b,c,d,e,a\n" 40 rows)
file(WRITE ${WORK}/many.csv "question,a,b,c,d,e,answer\n${rows}")
execute_process(COMMAND bash -c "ulimit -f 8 && exec \"$0\" import \"$1\" -o \"$2\""
                        ${TOOL} ${WORK}/many.csv ${WORK}/limited.zep
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "limited\\.zep\": File too large\\.")
    message(FATAL_ERROR "import past a file size limit: status ${status}, messages:\n${err}")
endif()

# Output that a file size limit cuts short is a failure, said as such, for every command that
# writes standard output.
string(REPEAT "Q,a,b,c,d,e,a\n" 100 rows)
file(WRITE ${WORK}/hundred.csv "question,a,b,c,d,e,answer\n${rows}")
execute_process(COMMAND ${TOOL} import ${WORK}/hundred.csv -o ${WORK}/hundred.zep
    RESULT_VARIABLE status)
execute_process(COMMAND bash -c "ulimit -f 1 && exec \"$0\" list \"$1\" > \"$2\""
                        ${TOOL} ${WORK}/hundred.zep ${WORK}/list.txt
    RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "Cannot write standard output: File too large\\.")
    message(FATAL_ERROR "list past a file size limit: status ${status}, messages:\n${err}")
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
