# The user interface on Qt 6 Widgets: the screen editor, the shell and the PLC editors.
find_package(Qt6 COMPONENTS Widgets PrintSupport SerialPort Test)
if(NOT Qt6_FOUND)
  message(WARNING "Qt 6 not found: the user interface is not built (run scripts/install-deps.sh)")
  set(QUILLON_GUI OFF)
  return()
endif()

file(GLOB _gui_sources CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/editor/*.cpp
  ${PROJECT_SOURCE_DIR}/src/shell/*.cpp
  ${PROJECT_SOURCE_DIR}/src/plc/ui/*.cpp)
file(GLOB _gui_headers CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/editor/*.h
  ${PROJECT_SOURCE_DIR}/src/shell/*.h
  ${PROJECT_SOURCE_DIR}/src/plc/ui/*.h)
if(_gui_sources)
  add_library(quillon_gui STATIC ${_gui_sources} ${_gui_headers})
  target_include_directories(quillon_gui PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(quillon_gui PUBLIC quillon_core Qt6::Widgets Qt6::PrintSupport Qt6::SerialPort)
  set_target_properties(quillon_gui PROPERTIES AUTOMOC ON)
endif()

# The bare window the start-up benchmark (bench/gui-startup.sh) measures the tool against.
add_executable(quillon_bare_window ${PROJECT_SOURCE_DIR}/bench/bare-window/main.cpp)
target_link_libraries(quillon_bare_window PRIVATE Qt6::Widgets)
