# The user interface on Qt 6 Widgets. Each folder is an object library, combined into quillon_gui:
#   ui      what several windows share (dialog base, prompter, file chooser, help, icons, drawing surface)
#   screen  the screen editor          define  the editors of the Define menu
#   print   the printed report
#   shell   the main window, which opens the others
# Which folder may include which is drawn in docs/architecture.md and checked by tools/check-layers.py.
find_package(Qt6 COMPONENTS Widgets PrintSupport SerialPort Network Test)
if(NOT Qt6_FOUND)
  message(WARNING "Qt 6 not found: the user interface is not built (run scripts/install-deps.sh)")
  set(QUILLON_GUI OFF)
  return()
endif()

set(QUILLON_GUI_PARTS ui screen define print simulate shell)
set(QUILLON_GUI_OBJECTS "")
foreach(part IN LISTS QUILLON_GUI_PARTS)
  file(GLOB _sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${part}/*.cpp)
  file(GLOB _headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${part}/*.h)
  if(_sources)
    add_library(quillon_gui_${part} OBJECT ${_sources} ${_headers})
    target_include_directories(quillon_gui_${part} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(quillon_gui_${part} PUBLIC nlohmann_json::nlohmann_json Qt6::Widgets Qt6::PrintSupport
                                                      Qt6::SerialPort)
    set_target_properties(quillon_gui_${part} PROPERTIES AUTOMOC ON)
    list(APPEND QUILLON_GUI_OBJECTS $<TARGET_OBJECTS:quillon_gui_${part}>)
    if(part STREQUAL "shell")
      # The one-instance guard talks to the running tool over a local socket.
      target_link_libraries(quillon_gui_${part} PUBLIC Qt6::Network)
    endif()
  endif()
endforeach()

if(QUILLON_GUI_OBJECTS)
  add_library(quillon_gui STATIC ${QUILLON_GUI_OBJECTS})
  target_include_directories(quillon_gui PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(quillon_gui PUBLIC quillon_core Qt6::Widgets Qt6::PrintSupport Qt6::SerialPort
                                     $<LINK_ONLY:Qt6::Network>)
endif()

# The bare window the start-up benchmark (bench/gui-startup.sh) measures the tool against.
add_executable(quillon_bare_window ${PROJECT_SOURCE_DIR}/bench/bare-window/main.cpp)
target_link_libraries(quillon_bare_window PRIVATE Qt6::Widgets)
