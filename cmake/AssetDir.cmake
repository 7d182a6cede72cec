# The asset base directory is fixed at build time:
#   quenvarix_data            the source tree (binaries run from the build tree);
#                             a static library the engine links, so every
#                             program gets it without asking
#   quenvarix_data_installed  <prefix>/share/quenvarix/, an object library: a
#                             program that links it (the installed programs)
#                             defines PATH itself, and the linker never takes
#                             the source-tree definition out of the archive
# Either falls back to <exe>/../share/quenvarix/ when its directory holds no
# data/ (an installed tree that was moved; see src/engine/assetdir.h).
function(quenvarix_data_library name kind dir)
  add_library(${name} ${kind} ${PROJECT_SOURCE_DIR}/src/engine/path.cpp
                              ${PROJECT_SOURCE_DIR}/src/engine/assetdir.cpp)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src/engine)
  target_compile_definitions(${name} PRIVATE QUENVARIX_ASSET_DIR="${dir}")
  target_link_libraries(${name} PUBLIC Qt6::Core)
endfunction()

# The installed copy of a program: built from the same main source with the
# same definitions, options and libraries, but with the installed data
# directory; `cmake --install` puts it into bin/ under the program's name.
# Call once the program's own target is complete.
function(quenvarix_installed_program program main)
  set(copy ${program}_installed)
  add_executable(${copy} ${main})
  target_link_libraries(${copy} PRIVATE quenvarix_data_installed)
  foreach(property COMPILE_DEFINITIONS COMPILE_OPTIONS LINK_LIBRARIES)
    get_target_property(values ${program} ${property})
    if(values)
      set_property(TARGET ${copy} APPEND PROPERTY ${property} ${values})
    endif()
  endforeach()
  set_target_properties(${copy} PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/install-variant
      OUTPUT_NAME ${program})
  install(TARGETS ${copy} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
