# brantel_add_art(<target>): compiles the artwork of resources/art/ into
# <target>: every <id>.svg there becomes the picture resource <id> (SVG
# bytes) of a resource module "brantel_art". Editing, adding or removing a
# file re-runs the configuration.
function(brantel_add_art target)
  file(GLOB art_files CONFIGURE_DEPENDS ${BRANTEL_ROOT}/resources/art/*.svg)
  set(arrays "")
  set(adds "")
  foreach(file IN LISTS art_files)
    get_filename_component(id ${file} NAME_WE)
    if(NOT id MATCHES "^[0-9]+$")
      message(FATAL_ERROR "resources/art/${id}.svg: art files are named by their resource id")
    endif()
    file(READ ${file} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const unsigned char k${id}[] = {${bytes}};\n")
    string(APPEND adds "    add(${id}u, k${id}, sizeof k${id});\n")
  endforeach()
  set(source ${CMAKE_BINARY_DIR}/generated/brantel_art.cpp)
  set(content "// Generated from resources/art/ by cmake/Art.cmake: do not edit.
#include \"platform/ui/core/resources.h\"

namespace
{
${arrays}
const CResourceModule s_art(\"brantel_art\", CResourceModule::library, [](CResourceModule& m) {
    auto add = [&m](UINT nID, const unsigned char* data, std::size_t size) {
        AfxBitmapResource art;
        art.data.assign(data, data + size);
        art.strFormat = \"svg\";
        m.Add(nID, art);
    };
${adds}    (void)add;
});
} // namespace
")
  file(CONFIGURE OUTPUT ${source} CONTENT "${content}" @ONLY)
  target_sources(${target} PRIVATE ${source})
endfunction()
