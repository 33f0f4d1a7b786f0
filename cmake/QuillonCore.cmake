# The core: every rule, limit, message and byte of the system, in standard C++ only.
# Each subsystem folder is an object library, so that a subsystem's tests link only what they need;
# quillon_core is the static library made of all of them.
# A part named a_b lives in src/a/b/ (the editors' rules are in src/edit/ by the window folder they serve).
set(QUILLON_CORE_PARTS model edit edit_define edit_screen edit_shell report plc persist comm sim compare)
# What each part's code uses besides itself, every step down included (tools/check-layers.py holds the
# same table).
set(QUILLON_DEPS_model "")
set(QUILLON_DEPS_edit model)
set(QUILLON_DEPS_edit_define edit plc model)
set(QUILLON_DEPS_edit_screen edit_define edit plc model)
set(QUILLON_DEPS_edit_shell edit_define edit plc model)
set(QUILLON_DEPS_report edit_define edit plc model)
set(QUILLON_DEPS_plc model)
set(QUILLON_DEPS_persist plc model)
set(QUILLON_DEPS_comm persist plc model)
set(QUILLON_DEPS_sim edit_define edit plc model)
set(QUILLON_DEPS_compare persist plc model)

# quillon_part_folder(PART VAR): the folder of PART below src/ (and tests/).
function(quillon_part_folder part var)
  string(REPLACE "_" "/" _folder ${part})
  set(${var} ${_folder} PARENT_SCOPE)
endfunction()

set(QUILLON_CORE_OBJECTS "")
foreach(part IN LISTS QUILLON_CORE_PARTS)
  quillon_part_folder(${part} _folder)
  file(GLOB _sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${_folder}/*.cpp)
  if(_sources)
    add_library(quillon_${part} OBJECT ${_sources})
    target_include_directories(quillon_${part} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    list(APPEND QUILLON_CORE_OBJECTS $<TARGET_OBJECTS:quillon_${part}>)
  endif()
endforeach()

if(NOT QUILLON_CORE_OBJECTS)
  message(FATAL_ERROR "no core sources found")
endif()

# The shipped panel character set is compiled in from its text file, which stays the one source of truth:
# editing the file makes the next build re-run this step; the generated source lives in the build tree.
if(TARGET quillon_model)
  set(_font_file ${PROJECT_SOURCE_DIR}/data/fonts/orvik5x7.fnt)
  if(NOT EXISTS ${_font_file})
    message(FATAL_ERROR "missing panel font ${_font_file}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_font_file})
  file(READ ${_font_file} _font_hex HEX)
  file(SIZE ${_font_file} QUILLON_FONT_SIZE)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," QUILLON_FONT_BYTES "${_font_hex}")
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/generated/BuiltInPanelFont.cpp @ONLY CONTENT [[
// Generated from data/fonts/orvik5x7.fnt when the project is configured; edit that file, not this one.
#include <cstddef>

namespace quillon::detail {
extern const unsigned char kBuiltInPanelFont[];
extern const std::size_t kBuiltInPanelFontSize;
const unsigned char kBuiltInPanelFont[] = {
@QUILLON_FONT_BYTES@0x00};
const std::size_t kBuiltInPanelFontSize = @QUILLON_FONT_SIZE@;
} // namespace quillon::detail
]])
  target_sources(quillon_model PRIVATE ${PROJECT_BINARY_DIR}/generated/BuiltInPanelFont.cpp)
endif()

# The text form of applications is JSON; the library is header-only.
find_package(nlohmann_json 3 REQUIRED)
foreach(part persist compare)
  if(TARGET quillon_${part})
    target_link_libraries(quillon_${part} PUBLIC nlohmann_json::nlohmann_json)
  endif()
endforeach()

# The simulator reaches real Modbus devices (live nodes) through libmodbus.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBMODBUS REQUIRED IMPORTED_TARGET libmodbus)
if(TARGET quillon_sim)
  target_link_libraries(quillon_sim PUBLIC PkgConfig::LIBMODBUS)
endif()

add_library(quillon_core STATIC ${QUILLON_CORE_OBJECTS})
target_include_directories(quillon_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(quillon_core PUBLIC nlohmann_json::nlohmann_json PkgConfig::LIBMODBUS)

# quillon_link_part(TARGET PART): links TARGET with the objects of PART and of every part it uses.
function(quillon_link_part target part)
  foreach(p IN LISTS part QUILLON_DEPS_${part})
    if(TARGET quillon_${p})
      target_link_libraries(${target} PRIVATE quillon_${p})
    endif()
  endforeach()
endfunction()
