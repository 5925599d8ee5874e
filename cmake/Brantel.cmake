# Common settings of every Brantel target.
find_package(OpenGL REQUIRED COMPONENTS OpenGL)

add_library(brantel_options INTERFACE)
target_compile_features(brantel_options INTERFACE cxx_std_20)
target_compile_options(brantel_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra>
  # Numbers must be computed as written: no fast-math anywhere.
  $<$<COMPILE_LANGUAGE:CXX>:-fno-fast-math>)
target_include_directories(brantel_options INTERFACE ${BRANTEL_ROOT})
if(BRANTEL_SANITIZE)
  target_compile_options(brantel_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(brantel_options INTERFACE -fsanitize=address,undefined)
endif()
if(BRANTEL_TSAN)
  if(BRANTEL_SANITIZE)
    message(FATAL_ERROR "BRANTEL_TSAN and BRANTEL_SANITIZE exclude each other")
  endif()
  target_compile_options(brantel_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(brantel_options INTERFACE -fsanitize=thread)
endif()

find_program(BRANTEL_CCACHE ccache)
if(BRANTEL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${BRANTEL_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${BRANTEL_CCACHE})
endif()

# brantel_library(<target> DIRS <folder>... [LINKS <target>...])
# A shared library made of every .cpp below the given folders.
function(brantel_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LINKS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
      ${BRANTEL_ROOT}/${dir}/*.cpp ${BRANTEL_ROOT}/${dir}/*.c)
    list(APPEND sources ${found})
  endforeach()
  add_library(${name} SHARED ${sources})
  target_link_libraries(${name} PUBLIC brantel_options ${ARG_LINKS})
  set_target_properties(${name} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
endfunction()

# brantel_test(<target> DIR <folder> [ALSO <folder>... [EXCLUDE <regex>]]
#              [FROM <folder>] LINKS <target>... LABELS <label>...)
# One GoogleTest program made of every .cpp in tests/<folder> (and in the
# ALSO folders of tests/, less the files matching EXCLUDE). FROM names
# another base folder than tests/ for DIR (Qt tests live below
# platform/ui/qt, the only place that includes Qt). Labels say what a test
# needs: headless (nothing), widgets (Qt's offscreen platform, set in the
# test's environment) or gui (a display; pictures go to build/artifacts);
# ctest -L selects by them.
function(brantel_test name)
  cmake_parse_arguments(ARG "" "DIR;EXCLUDE;FROM" "ALSO;LINKS;LABELS" ${ARGN})
  if(NOT ARG_LABELS)
    message(FATAL_ERROR "brantel_test(${name}): give its LABELS (headless, widgets or gui)")
  endif()
  if(NOT ARG_FROM)
    set(ARG_FROM tests)
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${BRANTEL_ROOT}/${ARG_FROM}/${ARG_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  foreach(dir IN LISTS ARG_ALSO)
    file(GLOB_RECURSE also CONFIGURE_DEPENDS ${BRANTEL_ROOT}/tests/${dir}/*.cpp)
    if(ARG_EXCLUDE)
      list(FILTER also EXCLUDE REGEX "${ARG_EXCLUDE}")
    endif()
    list(APPEND sources ${also})
  endforeach()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE brantel_options ${ARG_LINKS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(env "BRANTEL_SOURCE_DIR=${BRANTEL_ROOT}")
  if("widgets" IN_LIST ARG_LABELS)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  if("gui" IN_LIST ARG_LABELS)
    list(APPEND env "BRANTEL_TEST_ARTIFACTS=${CMAKE_BINARY_DIR}/artifacts")
  endif()
  if(BRANTEL_TSAN)
    list(APPEND env "TSAN_OPTIONS=suppressions=${BRANTEL_ROOT}/tests/tsan.supp:detect_deadlocks=0")
  endif()
  if(BRANTEL_SANITIZE)
    list(APPEND env "LSAN_OPTIONS=suppressions=${BRANTEL_ROOT}/tests/lsan.supp"
      "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 900 ENVIRONMENT "${env}" LABELS "${ARG_LABELS}")
endfunction()
