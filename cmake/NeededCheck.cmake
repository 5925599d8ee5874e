# The rule a built program's NEEDED entries (readelf -d) must keep: OSMesa
# and Qt's GUI library never together, and OSMesa ahead of libGL/libOpenGL
# so that the gl* calls resolve to OSMesa's context.

# brantel_needed_names(<readelf -d output> <out>): the NEEDED names in order.
function(brantel_needed_names text out)
  string(REGEX MATCHALL "\\(NEEDED\\)[^[]*\\[[^]]+\\]" lines "${text}")
  set(names)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE ".*\\[([^]]+)\\]" "\\1" name "${line}")
    list(APPEND names "${name}")
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

# brantel_needed_verdict(<names> <out>): empty when the list keeps the rule,
# else the reason it does not.
function(brantel_needed_verdict names out)
  set(osmesa -1)
  set(qtgui -1)
  set(libgl -1)
  set(index 0)
  foreach(name IN LISTS names)
    if(name MATCHES "^libOSMesa\\.so" AND osmesa EQUAL -1)
      set(osmesa ${index})
    elseif(name MATCHES "^libQt[0-9]*Gui\\.so" AND qtgui EQUAL -1)
      set(qtgui ${index})
    elseif(name MATCHES "^lib(GL|OpenGL)\\.so" AND libgl EQUAL -1)
      set(libgl ${index})
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(reason "")
  if(osmesa GREATER -1 AND qtgui GREATER -1)
    set(reason "lists both libOSMesa and Qt's GUI library")
  elseif(osmesa GREATER -1 AND libgl GREATER -1 AND osmesa GREATER libgl)
    set(reason "lists libOSMesa after libGL")
  endif()
  set(${out} "${reason}" PARENT_SCOPE)
endfunction()
