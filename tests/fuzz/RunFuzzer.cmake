# Runs one libFuzzer target for a bounded time from its seeds and reports its figures.
#   FUZZER  the fuzzer program      SEEDS, PATTERN  seed folder and which of its files
#   DICT    its dictionary          WORK            corpus, artifacts and figures go here
#   SECONDS how long to search
set(corpus ${WORK}/corpus)
set(artifacts ${WORK}/artifacts)
file(MAKE_DIRECTORY ${corpus} ${artifacts})
file(GLOB seeds ${SEEDS}/${PATTERN})
file(COPY ${seeds} DESTINATION ${corpus})

execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=20 -rss_limit_mb=3072
            -max_len=4096 -print_final_stats=1 -close_fd_mask=1
            -dict=${DICT} -artifact_prefix=${artifacts}/ ${corpus}
    RESULT_VARIABLE status
    ERROR_VARIABLE log)
file(WRITE ${WORK}/last-run.log "${log}")

if(NOT status EQUAL 0)
    string(LENGTH "${log}" length)
    if(length GREATER 20000)
        math(EXPR from "${length} - 20000")
        string(SUBSTRING "${log}" ${from} 20000 log)
    endif()
    message("${log}")
    message(FATAL_ERROR "the fuzzer found a fault (exit status ${status}); its input is in "
                        "${artifacts}. Make it a regression scenario or test, then fix it.")
endif()

string(REGEX MATCH "stat::number_of_executed_units: *([0-9]+)" _ "${log}")
set(executions ${CMAKE_MATCH_1})
file(GLOB inputs ${corpus}/*)
list(LENGTH inputs corpus_size)
file(APPEND ${WORK}/figures.txt "${executions} executions, ${corpus_size} inputs in the corpus\n")
message("${executions} executions in ${SECONDS} s, ${corpus_size} inputs in the corpus")
