# Regenerates the fake's best-fit table from Wine's code page tables and
# compares it with the committed one.
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${NLS} OUTPUT_FILE ${SCRATCH} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make_best_fit.py failed: ${rc}")
endif()
file(SHA256 ${SCRATCH} fresh)
file(SHA256 ${COMMITTED} committed)
if(NOT fresh STREQUAL committed)
  message(FATAL_ERROR "BestFit.inc differs from what make_best_fit.py writes; run it and commit the result")
endif()
