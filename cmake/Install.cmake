# The program's files in the build tree and the install layout:
#   bin/brantel                           the program
#   lib/                                  its shared libraries
#   share/brantel/                        the program folder: Ext/Palettes/
#                                         and Brantel_U_man.pdf
#   share/doc/brantel/index.html          the HTML manual (and a link to the PDF)
#   share/applications/brantel.desktop
#   share/mime/packages/brantel.xml
#   share/icons/hicolor/scalable/apps/brantel.svg
# In the build tree the program folder is bin/ itself, with the manual's
# HTML in bin/doc/.
if(NOT TARGET brantel)
  return()
endif()

set(brantel_bin ${CMAKE_BINARY_DIR}/bin)
set(brantel_manual ${BRANTEL_ROOT}/resources/manual/index.html)

# The program folder in the build tree.
file(MAKE_DIRECTORY ${brantel_bin}/Ext/Palettes ${brantel_bin}/doc)
configure_file(${brantel_manual} ${brantel_bin}/doc/index.html COPYONLY)
# The manual's pictures, taken from the program.
file(GLOB brantel_manual_pictures CONFIGURE_DEPENDS ${BRANTEL_ROOT}/resources/manual/pictures/*.png)
file(COPY ${brantel_manual_pictures} DESTINATION ${brantel_bin}/doc/pictures)
file(CREATE_LINK ../Brantel_U_man.pdf ${brantel_bin}/doc/Brantel_U_man.pdf SYMBOLIC)

# The PDF manual, made from the HTML page by a small Qt tool.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_executable(brantel_manualpdf ${BRANTEL_ROOT}/platform/ui/qt/tools/manualpdf.cpp)
target_link_libraries(brantel_manualpdf PRIVATE brantel_options Qt6::Gui)
set_target_properties(brantel_manualpdf PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
add_custom_command(OUTPUT ${brantel_bin}/Brantel_U_man.pdf
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:brantel_manualpdf> ${brantel_manual} ${brantel_bin}/Brantel_U_man.pdf
  DEPENDS brantel_manualpdf ${brantel_manual} ${brantel_manual_pictures}
  COMMENT "Making the PDF manual")
add_custom_target(brantel_manual ALL DEPENDS ${brantel_bin}/Brantel_U_man.pdf)
add_dependencies(brantel brantel_manual)

# The program finds its libraries next to it when installed.
set(brantel_libraries renvik afx ferrand dimvor weblar zelkor tincora bexlar strelna solvika lumetra
  kantaro vistrel framira pavesta brantel_analysis brantel_shell afxui afxui_qt)
set_target_properties(brantel PROPERTIES INSTALL_RPATH "$ORIGIN/../lib")
foreach(library IN LISTS brantel_libraries)
  set_target_properties(${library} PROPERTIES INSTALL_RPATH "$ORIGIN")
endforeach()

install(TARGETS brantel RUNTIME DESTINATION bin)
install(TARGETS ${brantel_libraries} LIBRARY DESTINATION lib)
install(DIRECTORY DESTINATION share/brantel/Ext/Palettes)
install(FILES ${brantel_bin}/Brantel_U_man.pdf DESTINATION share/brantel)
install(FILES ${brantel_manual} DESTINATION share/doc/brantel)
install(FILES ${brantel_manual_pictures} DESTINATION share/doc/brantel/pictures)
install(CODE "file(CREATE_LINK ../../brantel/Brantel_U_man.pdf
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/doc/brantel/Brantel_U_man.pdf\" SYMBOLIC)")
install(FILES ${BRANTEL_ROOT}/resources/desktop/brantel.desktop DESTINATION share/applications)
install(FILES ${BRANTEL_ROOT}/resources/desktop/brantel.xml DESTINATION share/mime/packages)
install(FILES ${BRANTEL_ROOT}/resources/icons/brantel.svg
  DESTINATION share/icons/hicolor/scalable/apps)
