# Plays a scenario in hostsim and checks that it played (status 0) and that its report holds the
# expected line: cmake -DHOSTSIM=... -DSCENARIO=... -DEXPECTED=... -P PlayScenario.cmake
execute_process(COMMAND ${HOSTSIM} ${SCENARIO} RESULT_VARIABLE status OUTPUT_VARIABLE report)
message("${report}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "hostsim ${SCENARIO}: status ${status}")
endif()
string(FIND "${report}" "${EXPECTED}\n" found)
if(found EQUAL -1)
  message(FATAL_ERROR "the report lacks the line: ${EXPECTED}")
endif()
