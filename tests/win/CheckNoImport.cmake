# Fails when PROGRAM imports the library NAME: a library Windows does not
# keep for every program would be looked for beside the program first, so
# the program loads it from the system folder itself instead.
#   cmake -DOBJDUMP=... -DPROGRAM=... -DNAME=version.dll -P CheckNoImport.cmake
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} could not read ${PROGRAM}")
endif()
string(TOLOWER "${headers}" headers)
string(TOLOWER "${NAME}" name)
if(headers MATCHES "dll name: ${name}")
  message(FATAL_ERROR "${PROGRAM} imports ${NAME}")
endif()
message(STATUS "${PROGRAM} does not import ${NAME}")
