# One OpenGL backend per program. OSMesa exports the gl* entry points, and
# Qt's GUI library loads libGL/libOpenGL itself: in a program that holds both
# backends, OSMesa would capture Qt's own OpenGL calls. Configuring stops
# when a program's link closure holds both afxui_osmesa and afxui_qt.

# Every buildsystem target defined in dir and the folders below it.
function(_brantel_targets_below dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _brantel_targets_below("${sub}" below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The targets that target links, directly or through other targets.
function(brantel_link_closure target out)
  set(seen)
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue t)
    if(NOT TARGET "${t}")
      continue()
    endif()
    get_target_property(aliased "${t}" ALIASED_TARGET)
    if(aliased)
      set(t ${aliased})
    endif()
    if(t IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${t})
    get_target_property(direct "${t}" LINK_LIBRARIES)
    get_target_property(iface "${t}" INTERFACE_LINK_LIBRARIES)
    foreach(item IN LISTS direct iface)
      # Private dependencies of static libraries appear as $<LINK_ONLY:x>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
      if(item AND TARGET "${item}")
        list(APPEND queue "${item}")
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# brantel_check_backends([PROGRAM_LIST <file>])
# Checks every program and shared library defined below the calling folder.
# With PROGRAM_LIST, the paths of all executables are written to <file> at
# generate time (one a line), for the test that reads their NEEDED entries.
function(brantel_check_backends)
  cmake_parse_arguments(ARG "" "PROGRAM_LIST" "" ${ARGN})
  _brantel_targets_below("${CMAKE_CURRENT_SOURCE_DIR}" targets)
  set(programs)
  foreach(t IN LISTS targets)
    get_target_property(type "${t}" TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
      continue()
    endif()
    brantel_link_closure("${t}" closure)
    if("afxui_osmesa" IN_LIST closure AND "afxui_qt" IN_LIST closure)
      message(FATAL_ERROR "${t} links both afxui_osmesa and afxui_qt: a program "
        "links one OpenGL backend only (OSMesa would capture Qt's OpenGL calls).")
    endif()
    if(type STREQUAL "EXECUTABLE")
      list(APPEND programs "$<TARGET_FILE:${t}>")
    endif()
  endforeach()
  if(ARG_PROGRAM_LIST)
    string(JOIN "\n" content ${programs})
    file(GENERATE OUTPUT "${ARG_PROGRAM_LIST}" CONTENT "${content}\n")
  endif()
endfunction()
