# brantel_add_art(<target> [FOLDER <subfolder>] [FUNCTION <name> HEADER <include>])
# compiles artwork into <target>: every <id>.svg becomes the picture resource
# <id> (SVG bytes).
# - Without FOLDER: the files of resources/art/ make a resource module
#   "brantel_art" of their own (the program's icons).
# - With FOLDER: the files of resources/art/<subfolder>/ are added by the
#   function <name>(CResourceModule&), declared in <include>, which the
#   library's own resource module calls: the pictures then are that
#   library's resources.
# Editing, adding or removing a file re-runs the configuration.
function(brantel_add_art target)
  cmake_parse_arguments(ART "" "FOLDER;FUNCTION;HEADER" "" ${ARGN})
  set(dir ${BRANTEL_ROOT}/resources/art)
  set(name brantel_art)
  if(ART_FOLDER)
    if(NOT ART_FUNCTION OR NOT ART_HEADER)
      message(FATAL_ERROR "brantel_add_art(${target} FOLDER ${ART_FOLDER}): FUNCTION and HEADER are needed")
    endif()
    set(dir ${dir}/${ART_FOLDER})
    string(MAKE_C_IDENTIFIER "${target}_${ART_FOLDER}_art" name)
  endif()
  file(GLOB art_files CONFIGURE_DEPENDS ${dir}/*.svg)
  # An edited picture re-runs the configuration, which compiles it in anew.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${art_files})
  set(arrays "")
  set(adds "")
  foreach(file IN LISTS art_files)
    get_filename_component(id ${file} NAME_WE)
    if(NOT id MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${file}: art files are named by their resource id")
    endif()
    file(READ ${file} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const unsigned char k${id}[] = {${bytes}};\n")
    string(APPEND adds "    add(${id}u, k${id}, sizeof k${id});\n")
  endforeach()
  set(adder "    auto add = [&m](UINT nID, const unsigned char* data, std::size_t size) {
        AfxBitmapResource art;
        art.data.assign(data, data + size);
        art.strFormat = \"svg\";
        m.Add(nID, art);
    };
${adds}    (void)add;")
  set(source ${CMAKE_BINARY_DIR}/generated/${name}.cpp)
  if(ART_FOLDER)
    set(content "// Generated from resources/art/${ART_FOLDER}/ by cmake/Art.cmake: do not edit.
#include \"${ART_HEADER}\"
#include \"platform/ui/core/resources.h\"

namespace
{
${arrays}} // namespace

void ${ART_FUNCTION}(CResourceModule& m)
{
${adder}
}
")
  else()
    set(content "// Generated from resources/art/ by cmake/Art.cmake: do not edit.
#include \"platform/ui/core/resources.h\"

namespace
{
${arrays}
const CResourceModule s_art(\"brantel_art\", CResourceModule::library, [](CResourceModule& m) {
${adder}
});
} // namespace
")
  endif()
  file(CONFIGURE OUTPUT ${source} CONTENT "${content}" @ONLY)
  target_sources(${target} PRIVATE ${source})
endfunction()
