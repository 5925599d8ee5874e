# Layering rules of the window layer, checked over the sources and over the
# link closures written at configure time (tests/CMakeLists.txt):
# - no file outside platform/ui/qt includes a Qt header;
# - lumetra, vistrel, framira, pavesta and brantel_shell link no layer target
#   but afxui (no afxui_* backend or test library, no Qt);
# - brantel_analysis links neither Qt nor OSMesa, nor any afxui_* backend
#   or test library; the toolkit-free core afxui reaches it through the
#   drawing libraries (lumetra's views);
# - the ground floor (replace/, renvik) includes nothing of the system but
#   itself and links nothing of it; the solver (solver/, solvika) includes
#   and links only itself and the ground floor: no include runs up into the
#   platform layer.
#   cmake -DROOT=<source tree> -DLINKS=<links.cmake> -P layering.cmake
#   cmake -DSELFTEST=ON -DWORK=<scratch folder> -P layering.cmake
cmake_minimum_required(VERSION 3.25)

# Appends to errors_out each source below root outside platform/ui/qt (and
# outside build trees) that includes a Qt header.
function(check_qt_includes root errors_out)
  set(found)
  file(GLOB children RELATIVE ${root} ${root}/*)
  foreach(child IN LISTS children)
    if(child MATCHES "^(build.*|\\..*)$" OR NOT IS_DIRECTORY ${root}/${child})
      continue()
    endif()
    file(GLOB_RECURSE sources ${root}/${child}/*.h ${root}/${child}/*.hpp
         ${root}/${child}/*.cpp ${root}/${child}/*.cc ${root}/${child}/*.c)
    foreach(source IN LISTS sources)
      file(RELATIVE_PATH relative ${root} ${source})
      if(relative MATCHES "^platform/ui/qt/")
        continue()
      endif()
      file(STRINGS ${source} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*>)")
      if(hits)
        list(APPEND found "${relative} includes a Qt header: ${hits}")
      endif()
    endforeach()
  endforeach()
  set(${errors_out} "${${errors_out}};${found}" PARENT_SCOPE)
endfunction()

# Appends to errors_out each quoted include of the project in the sources
# below root/folder that names a folder outside the allowed ones.
function(check_floor_includes root folder allowed errors_out)
  set(found)
  file(GLOB_RECURSE sources ${root}/${folder}/*.h ${root}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH relative ${root} ${source})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]*/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^/\"]*)/.*$" "\\1" top "${line}")
      if(NOT top IN_LIST allowed)
        list(APPEND found "${relative} includes from ${top}/: ${line}")
      endif()
    endforeach()
  endforeach()
  set(${errors_out} "${${errors_out}};${found}" PARENT_SCOPE)
endfunction()

# The floors below the platform layer: what each may include.
function(check_floors root errors_out)
  set(floor_errors)
  check_floor_includes(${root} replace "replace" floor_errors)
  check_floor_includes(${root} solver "solver;replace" floor_errors)
  set(${errors_out} "${${errors_out}};${floor_errors}" PARENT_SCOPE)
endfunction()

# Appends to errors_out each forbidden link of the closures set by links_file.
function(check_links links_file errors_out)
  include(${links_file})
  set(found)
  foreach(target lumetra vistrel framira pavesta brantel_shell)
    foreach(link IN LISTS closure_${target})
      if(link MATCHES "^afxui_" OR link MATCHES "^Qt[0-9]*::")
        list(APPEND found "${target} links ${link}; it may link only afxui of the window layer")
      endif()
    endforeach()
  endforeach()
  foreach(link IN LISTS closure_brantel_analysis)
    if(link MATCHES "^afxui_" OR link MATCHES "^Qt[0-9]*::" OR link MATCHES "OSMesa")
      list(APPEND found "brantel_analysis links ${link}; it links no window-layer backend, Qt or OSMesa")
    endif()
  endforeach()
  foreach(link IN LISTS closure_solvika closure_renvik)
    if(NOT link MATCHES "^(renvik|brantel_options)$")
      list(APPEND found "the solver or the ground floor links ${link}; they link only renvik")
    endif()
  endforeach()
  set(${errors_out} "${${errors_out}};${found}" PARENT_SCOPE)
endfunction()

function(report errors)
  list(REMOVE_ITEM errors "")
  if(errors)
    list(JOIN errors "\n" text)
    message(FATAL_ERROR "layering rules broken:\n${text}")
  endif()
endfunction()

if(SELFTEST)
  # Each rule must catch a made-up breach, and let the allowed cases pass.
  file(REMOVE_RECURSE ${WORK})
  file(WRITE ${WORK}/good/platform/ui/qt/peer.cpp "#include <QWidget>\n")
  file(WRITE ${WORK}/good/glview/view.cpp "#include \"glview/QuadView.h\"\n#include <vector>\n")
  file(WRITE ${WORK}/good/build/release/moc.cpp "#include <QObject>\n")
  file(WRITE ${WORK}/bad1/graphview/view.cpp "#include <QtWidgets/QWidget>\n")
  file(WRITE ${WORK}/bad2/platform/ui/core/wnd.h "  #  include <QPointer>\n")
  file(WRITE ${WORK}/good/solver/linalg/funit.h "#include \"replace/safereplace.h\"\n#include <string>\n")
  file(WRITE ${WORK}/good/solver/analysis/run.cpp "#include \"solver/linalg/funit.h\"\n")
  file(WRITE ${WORK}/good/replace/renvik.h "#include \"replace/safereplace.h\"\n")
  file(WRITE ${WORK}/bad3/solver/linalg/funit.h "#include \"platform/afx/safereplace.h\"\n")
  file(WRITE ${WORK}/bad4/replace/safereplace.cpp "  # include \"solver/linalg/funit.h\"\n")
  file(WRITE ${WORK}/good.cmake
       "set(closure_lumetra afxui afx OpenGL::GL)\nset(closure_brantel_analysis lumetra afxui afx)\n"
       "set(closure_solvika brantel_options renvik)\nset(closure_renvik brantel_options)\n")
  set(bad_links
      "set(closure_framira lumetra afxui_qt)"
      "set(closure_brantel_shell afxui Qt6::Widgets)"
      "set(closure_pavesta afxui_headless)"
      "set(closure_brantel_analysis lumetra /usr/lib/libOSMesa.so)"
      "set(closure_brantel_analysis framira Qt6::Gui)"
      "set(closure_brantel_analysis lumetra afxui afxui_headless)"
      "set(closure_solvika renvik afx)")

  set(errors)
  check_qt_includes(${WORK}/good errors)
  check_floors(${WORK}/good errors)
  check_links(${WORK}/good.cmake errors)
  list(REMOVE_ITEM errors "")
  if(errors)
    message(FATAL_ERROR "allowed layering reported: ${errors}")
  endif()
  foreach(tree bad1 bad2 bad3 bad4)
    set(errors)
    check_qt_includes(${WORK}/${tree} errors)
    check_floors(${WORK}/${tree} errors)
    check_links(${WORK}/good.cmake errors) # keeps what the first check found
    list(REMOVE_ITEM errors "")
    if(NOT errors)
      message(FATAL_ERROR "a forbidden include in ${tree} went unnoticed")
    endif()
  endforeach()
  set(index 0)
  foreach(line IN LISTS bad_links)
    math(EXPR index "${index} + 1")
    file(WRITE ${WORK}/bad${index}.cmake "${line}\n")
    set(errors)
    check_links(${WORK}/bad${index}.cmake errors)
    list(REMOVE_ITEM errors "")
    if(NOT errors)
      message(FATAL_ERROR "a forbidden link went unnoticed: ${line}")
    endif()
  endforeach()
  return()
endif()

set(errors)
check_qt_includes(${ROOT} errors)
check_floors(${ROOT} errors)
check_links(${LINKS} errors)
report("${errors}")
