# Regenerates the icons into a scratch folder and compares them byte for byte
# with the committed ones.
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${SCRATCH} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make_icons.py failed: ${rc}")
endif()
foreach(name TollikLight.ico TollikDark.ico)
  file(SHA256 ${SCRATCH}/${name} fresh)
  file(SHA256 ${COMMITTED}/${name} committed)
  if(NOT fresh STREQUAL committed)
    message(FATAL_ERROR "${name} differs from what make_icons.py draws; run it and commit the result")
  endif()
endforeach()
