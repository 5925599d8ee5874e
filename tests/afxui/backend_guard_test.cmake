# Configures the sample project twice: wired to one backend it configures,
# wired to both it is refused with the guard's message.
# cmake -DROOT=<source root> -DWORK=<scratch folder> -DGENERATOR=<gen> -P this
set(sample ${ROOT}/tests/afxui/backend_guard)
file(REMOVE_RECURSE ${WORK})

execute_process(COMMAND ${CMAKE_COMMAND} -S ${sample} -B ${WORK}/one -G ${GENERATOR}
    -DBRANTEL_ROOT=${ROOT} -DWIRE_BOTH=OFF
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "a program with one backend was refused:\n${out}\n${err}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -S ${sample} -B ${WORK}/both -G ${GENERATOR}
    -DBRANTEL_ROOT=${ROOT} -DWIRE_BOTH=ON
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "a program linking afxui_osmesa and afxui_qt was configured")
endif()
if(NOT err MATCHES "program links both afxui_osmesa and afxui_qt")
  message(FATAL_ERROR "configuring failed for another reason:\n${err}")
endif()
file(REMOVE_RECURSE ${WORK})
