# Reads the NEEDED entries (readelf -d) of every program of the build and
# fails when one lists both libOSMesa and Qt's GUI library, or libOSMesa
# after libGL. The rule itself is checked first on lists made up here.
# cmake -DROOT=<source root> -DPROGRAMS=<file of program paths> -P this
include(${ROOT}/cmake/NeededCheck.cmake)

# names, comma-separated | expected verdict (empty: accepted)
set(cases
  "libafxui.so,libOSMesa.so.8,libGL.so.1,libc.so.6|"
  "libOSMesa.so.8,libGLU.so.1,libGL.so.1|"
  "libGL.so.1,libOSMesa.so.8|lists libOSMesa after libGL"
  "libOpenGL.so.0,libOSMesa.so.8|lists libOSMesa after libGL"
  "libGLU.so.1,libOSMesa.so.8,libGLX.so.0|"
  "libOSMesa.so.8,libQt6Gui.so.6,libGL.so.1|lists both libOSMesa and Qt's GUI library"
  "libQt6Widgets.so.6,libQt6Gui.so.6,libGL.so.1|"
  "libc.so.6|")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 names)
  list(LENGTH parts n)
  set(expected "")
  if(n GREATER 1)
    list(GET parts 1 expected)
  endif()
  string(REPLACE "," ";" names "${names}")
  brantel_needed_verdict("${names}" verdict)
  if(NOT verdict STREQUAL expected)
    message(FATAL_ERROR "rule on [${names}]: got \"${verdict}\", expected \"${expected}\"")
  endif()
endforeach()

set(sample_text "
 0x0000000000000001 (NEEDED)             Shared library: [libafx.so]
 0x0000000000000001 (NEEDED)             Shared library: [libOSMesa.so.8]
 0x000000000000000e (SONAME)             Library soname: [x]
 0x0000000000000001 (NEEDED)             Shared library: [libGL.so.1]
")
brantel_needed_names("${sample_text}" names)
if(NOT names STREQUAL "libafx.so;libOSMesa.so.8;libGL.so.1")
  message(FATAL_ERROR "NEEDED entries read as [${names}]")
endif()

find_program(READELF readelf REQUIRED)
file(STRINGS ${PROGRAMS} programs)
set(checked 0)
set(failures "")
foreach(program IN LISTS programs)
  if(NOT EXISTS "${program}")
    continue()
  endif()
  execute_process(COMMAND ${READELF} -d "${program}" OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    string(APPEND failures "\n${program}: readelf failed")
    continue()
  endif()
  brantel_needed_names("${text}" names)
  brantel_needed_verdict("${names}" verdict)
  if(verdict)
    string(APPEND failures "\n${program} ${verdict}: ${names}")
  endif()
  math(EXPR checked "${checked} + 1")
endforeach()
if(failures)
  message(FATAL_ERROR "programs that break the OpenGL link order:${failures}")
endif()
if(checked EQUAL 0)
  message(FATAL_ERROR "no built program found in ${PROGRAMS}")
endif()
message(STATUS "${checked} programs checked")
