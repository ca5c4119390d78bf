# Runs one fuzz target for SECONDS from its generated seeds and kept regression inputs.
execute_process(COMMAND ${SEEDS} ${TARGET} ${CORPUS} RESULT_VARIABLE seeded)
if(NOT seeded EQUAL 0)
  message(FATAL_ERROR "seed generation failed")
endif()
set(dirs ${CORPUS})
if(EXISTS ${REGRESSIONS})
  list(APPEND dirs ${REGRESSIONS})
endif()
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=20 -rss_limit_mb=2048
                        -print_final_stats=1 ${dirs}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzz target ${TARGET} failed (${result})")
endif()
