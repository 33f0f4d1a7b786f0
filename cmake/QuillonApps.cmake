# The programs: each app folder holds only its main() and what belongs to that program alone.
find_package(CLI11 CONFIG QUIET)
include(GNUInstallDirs)

# Where an installed program finds the shipped data: share/quillon/shipped beside its bin/ (so that the
# installation can be moved, and a package installed under /usr finds it), then the configured prefix.
# A program run from the build folder also takes the source tree's data/. The data has a folder of its
# own under share/quillon: installed into ~/.local, share/quillon is the user's folder (work/, plc/,
# drivers/), whose files an installation must never write over.
set(QUILLON_SHIPPED_DATADIR ${CMAKE_INSTALL_DATADIR}/quillon/shipped)
file(RELATIVE_PATH QUILLON_RELATIVE_DATADIR ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/quillon/shipped)
function(quillon_app_definitions target)
  target_compile_definitions(${target} PRIVATE
    QUILLON_VERSION="${PROJECT_VERSION}"
    QUILLON_RELATIVE_DATADIR="${QUILLON_RELATIVE_DATADIR}"
    QUILLON_INSTALL_DATADIR="${CMAKE_INSTALL_FULL_DATADIR}/quillon/shipped"
    QUILLON_BUILD_DIR="$<TARGET_FILE_DIR:${target}>"
    QUILLON_SOURCE_DATADIR="${PROJECT_SOURCE_DIR}/data")
endfunction()

file(GLOB _cli_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/apps/quillon-cli/*.cpp)
if(_cli_sources)
  add_executable(quillon-cli ${_cli_sources})
  target_link_libraries(quillon-cli PRIVATE quillon_core)
  quillon_app_definitions(quillon-cli)
  if(TARGET CLI11::CLI11)
    target_link_libraries(quillon-cli PRIVATE CLI11::CLI11)
  endif()
  # `render` draws with the painter surface the screen window shares: only the Qt build has it. The surface needs
  # Qt Gui alone, so the tool does not take the whole user interface with it.
  if(QUILLON_GUI AND TARGET Qt6::Gui)
    # `report` paints the same pages as the window's Print, on a PDF writer of Qt Gui.
    target_sources(quillon-cli PRIVATE ${PROJECT_SOURCE_DIR}/src/ui/PainterSurface.cpp
                                       ${PROJECT_SOURCE_DIR}/src/ui/ScreenImage.cpp
                                       ${PROJECT_SOURCE_DIR}/src/print/ReportPainter.cpp)
    target_link_libraries(quillon-cli PRIVATE Qt6::Gui)
    target_compile_definitions(quillon-cli PRIVATE QUILLON_CLI_RENDER=1)
  endif()
endif()

file(GLOB _sim_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/apps/quillon-unitsim/*.cpp)
if(_sim_sources)
  add_executable(quillon-unitsim ${_sim_sources})
  target_link_libraries(quillon-unitsim PRIVATE quillon_core)
  quillon_app_definitions(quillon-unitsim)
  if(TARGET CLI11::CLI11)
    target_link_libraries(quillon-unitsim PRIVATE CLI11::CLI11)
  endif()
  target_link_libraries(quillon-unitsim PRIVATE util)
endif()

if(QUILLON_GUI AND TARGET quillon_gui)
  file(GLOB _gui_app_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/apps/quillon/*.cpp)
  if(_gui_app_sources)
    add_executable(quillon ${_gui_app_sources})
    target_link_libraries(quillon PRIVATE quillon_gui)
    quillon_app_definitions(quillon)
    set_target_properties(quillon PROPERTIES AUTOMOC ON)
  endif()
endif()
