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
  # With clang and the fuzz targets, everything is also instrumented for
  # libFuzzer (fuzzer-no-link): the fuzz targets then link against the very
  # libraries the tests run, and CI builds the project twice, not three times.
  set(brantel_sanitizers address,undefined)
  if(BRANTEL_BUILD_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(brantel_sanitizers fuzzer-no-link,address,undefined)
  endif()
  target_compile_options(brantel_options INTERFACE
    -fsanitize=${brantel_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(brantel_options INTERFACE -fsanitize=address,undefined)
endif()
if(BRANTEL_TSAN)
  if(BRANTEL_SANITIZE)
    message(FATAL_ERROR "BRANTEL_TSAN and BRANTEL_SANITIZE exclude each other")
  endif()
  target_compile_options(brantel_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(brantel_options INTERFACE -fsanitize=thread)
endif()
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # clang builds (sanitizers, fuzz targets) are checked by their tests, not
  # kept warning-free: g++'s -Wall -Wextra is the warning standard. clang
  # flags "override" on some members of classes written before it.
  target_compile_options(brantel_options INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-Wno-inconsistent-missing-override>)
endif()

# Unity builds: the sources of each library and test program compile in
# batches of BRANTEL_UNITY_BATCH files, one compiler run per batch, so the
# heavy headers (the toolkit's, GoogleTest's, Qt's) are read once per batch
# rather than once per file. The files of a batch share one translation
# unit: two files of a target that define the same name at file scope (in an
# anonymous namespace, static, or a macro left defined) clash. Mend a clash
# by renaming, or add the target to BRANTEL_NO_UNITY below or the file (path
# below the source root) to cmake/NoUnity.cmake; -DBRANTEL_UNITY_BUILD=OFF
# builds file by file.
option(BRANTEL_UNITY_BUILD "Compile each target's sources in batches (unity build)" ON)
set(BRANTEL_UNITY_BATCH 8 CACHE STRING "Source files per unity batch")
set(BRANTEL_NO_UNITY)
include(${CMAKE_CURRENT_LIST_DIR}/NoUnity.cmake)
if(BRANTEL_UNITY_BUILD)
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE ${BRANTEL_UNITY_BATCH})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # A batch includes its files, so g++ takes a test fixture in an anonymous
    # namespace for one declared in a header (-Wsubobject-linkage).
    target_compile_options(brantel_options INTERFACE
      $<$<COMPILE_LANGUAGE:CXX>:-Wno-subobject-linkage>)
  endif()
endif()

# Applies BRANTEL_NO_UNITY and BRANTEL_NO_UNITY_FILES to the targets defined
# below dir; called once every target exists (after cmake/BackendGuard.cmake,
# which lists them).
function(brantel_unity_exceptions dir)
  if(NOT BRANTEL_UNITY_BUILD)
    return()
  endif()
  _brantel_targets_below("${dir}" targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
      continue()
    endif()
    if(target IN_LIST BRANTEL_NO_UNITY)
      set_property(TARGET ${target} PROPERTY UNITY_BUILD OFF)
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    foreach(file IN LISTS BRANTEL_NO_UNITY_FILES)
      if("${BRANTEL_ROOT}/${file}" IN_LIST sources)
        set_source_files_properties(${BRANTEL_ROOT}/${file} TARGET_DIRECTORY ${target}
          PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
      endif()
    endforeach()
  endforeach()
endfunction()


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
#              [FROM <folder>] [EACH] LINKS <target>... LABELS <label>...)
# One GoogleTest program made of every .cpp in tests/<folder> (and in the
# ALSO folders of tests/, less the files matching EXCLUDE). FROM names
# another base folder than tests/ for DIR (Qt tests live below
# platform/ui/qt, the only place that includes Qt). Labels say what a test
# needs: headless (nothing), widgets (Qt's offscreen platform, set in the
# test's environment) or gui (a display). Pictures go to <build>/artifacts;
# ctest -L selects by them.
function(brantel_test name)
  cmake_parse_arguments(ARG "EACH" "DIR;EXCLUDE;FROM" "ALSO;LINKS;LABELS" ${ARGN})
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
  # EACH: one ctest entry per test of the program, named <target>.<Suite>.<Test>,
  # so that a retry (./test.sh runs a failed gui test once more) repeats one
  # journey rather than the whole program, and ctest times each one. The
  # tests are read from the sources when configuring; editing a source
  # configures again. The tests of a file named *_journey_test.cpp also
  # carry the label journey.
  set(tests ${name})
  set(journeys)
  if(ARG_EACH)
    set(tests)
    foreach(src IN LISTS sources)
      file(STRINGS ${src} lines REGEX "^TEST(_F)?\\(")
      foreach(line IN LISTS lines)
        if(line MATCHES "^TEST(_F)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\)")
          set(test ${name}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3})
          add_test(NAME ${test} COMMAND ${name} --gtest_brief=1
            --gtest_filter=${CMAKE_MATCH_2}.${CMAKE_MATCH_3}
            WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
          list(APPEND tests ${test})
          if(src MATCHES "_journey_test\\.cpp$")
            list(APPEND journeys ${test})
          endif()
        endif()
      endforeach()
    endforeach()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources})
    if(NOT tests)
      message(FATAL_ERROR "brantel_test(${name}): no TEST or TEST_F found in its sources")
    endif()
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  endif()
  set(env "BRANTEL_SOURCE_DIR=${BRANTEL_ROOT}")
  if("widgets" IN_LIST ARG_LABELS)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  # Pictures that tests write go to the build folder, never the source tree.
  list(APPEND env "BRANTEL_TEST_ARTIFACTS=${CMAKE_BINARY_DIR}/artifacts")
  if(BRANTEL_TSAN)
    list(APPEND env "TSAN_OPTIONS=suppressions=${BRANTEL_ROOT}/tests/tsan.supp:detect_deadlocks=0")
  endif()
  if(BRANTEL_SANITIZE)
    list(APPEND env "LSAN_OPTIONS=suppressions=${BRANTEL_ROOT}/tests/lsan.supp"
      "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  endif()
  set_tests_properties(${tests} PROPERTIES TIMEOUT 900 ENVIRONMENT "${env}" LABELS "${ARG_LABELS}")
  if(journeys)
    set_property(TEST ${journeys} APPEND PROPERTY LABELS journey)
  endif()
endfunction()
