# Runs the real lexamo-bank: --help succeeds and says how to import; a bad import fails with
# status 1, names the file and line, and leaves no bank behind.
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
