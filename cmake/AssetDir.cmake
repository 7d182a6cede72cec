# The asset base directory is fixed at build time. The library leaves it open;
# every executable links one of these two objects:
#   quenvarix_path_source   the source tree (binaries run from the build tree)
#   quenvarix_path_install  <prefix>/share/quenvarix/ (the installed programs)
# Either falls back to <exe>/../share/quenvarix/ when its directory holds no
# data/ (an installed tree that was moved; see src/engine/assetdir.h).
function(quenvarix_path_object name dir)
  add_library(${name} OBJECT ${PROJECT_SOURCE_DIR}/src/engine/path.cpp
                             ${PROJECT_SOURCE_DIR}/src/engine/assetdir.cpp)
  target_compile_definitions(${name} PRIVATE QUENVARIX_ASSET_DIR="${dir}")
  target_link_libraries(${name} PRIVATE Qt5::Core)
endfunction()

# The installed copy of a program: built from the same main source with the
# same definitions, options and libraries, but with the installed data
# directory; `cmake --install` puts it into bin/ under the program's name.
# Call once the program's own target is complete.
function(quenvarix_installed_program program main)
  set(copy ${program}_installed)
  add_executable(${copy} ${main} $<TARGET_OBJECTS:quenvarix_path_install>)
  foreach(property COMPILE_DEFINITIONS COMPILE_OPTIONS LINK_LIBRARIES)
    get_target_property(values ${program} ${property})
    if(values)
      set_property(TARGET ${copy} PROPERTY ${property} ${values})
    endif()
  endforeach()
  set_target_properties(${copy} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/install-variant
      OUTPUT_NAME ${program})
  install(TARGETS ${copy} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
