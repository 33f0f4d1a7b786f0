# The example applications: data/examples keeps each one as its text form (NAME.json, with its simulator
# scenario NAME.sim beside it); the build turns each into the application file examples/NAME.ovm with
# quillon-cli import, which checks it as the editors do. The tool offers copies of these files
# (`quillon-cli new --example`, Help > Examples...); they are installed to share/quillon/examples.
set(QUILLON_EXAMPLE_FILES "")
if(TARGET quillon-cli)
  file(GLOB _example_texts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/examples/*.json)
  set(_examples_dir ${PROJECT_BINARY_DIR}/examples)
  # The import's own working folder: its picture library takes the examples' pictures.
  set(_examples_work ${PROJECT_BINARY_DIR}/examples-work/work)
  foreach(_text ${_example_texts})
    get_filename_component(_name ${_text} NAME_WE)
    set(_ovm ${_examples_dir}/${_name}.ovm)
    add_custom_command(
      OUTPUT ${_ovm}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_examples_dir} ${_examples_work}
      COMMAND quillon-cli --workdir ${_examples_work} --plc-dir ${PROJECT_SOURCE_DIR}/data/plc import ${_text}
              ${_ovm}
      DEPENDS quillon-cli ${_text}
      COMMENT "Building the example application ${_name}.ovm"
      VERBATIM)
    list(APPEND QUILLON_EXAMPLE_FILES ${_ovm})
  endforeach()
  add_custom_target(quillon_examples ALL DEPENDS ${QUILLON_EXAMPLE_FILES})
endif()
