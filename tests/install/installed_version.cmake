# The installed programs start from their prefix and tell their version.
foreach(program kelm-catalogue kelm-exchange)
  execute_process(COMMAND ${PREFIX}/bin/${program} --version
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "installed ${program} --version: status ${status}, said \"${out}${err}\"")
  endif()
endforeach()
