# The installed programs start from their prefix and tell their version.
foreach(program kelm-catalogue kelm-exchange)
  execute_process(COMMAND ${PREFIX}/bin/${program} --version
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "installed ${program} --version: status ${status}, said \"${out}${err}\"")
  endif()
endforeach()

# An installed user makes an empty catalogue database from the installed schema.
set(made ${PREFIX}/made/catalogue.fdb)
file(REMOVE_RECURSE ${PREFIX}/made)
file(MAKE_DIRECTORY ${PREFIX}/made)
execute_process(COMMAND ${PREFIX}/bin/kelm-catalogue create ${made} RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS ${made})
  message(FATAL_ERROR "installed kelm-catalogue create: status ${status}, said \"${err}\"")
endif()
execute_process(COMMAND ${PREFIX}/bin/kelm-catalogue dump ${made} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "^Справочник Kelm 3\n")
  message(FATAL_ERROR "the created database does not open: status ${status}, said \"${out}${err}\"")
endif()
