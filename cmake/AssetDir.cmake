# The asset base directory is fixed at build time:
#   quenvarix_data            the source tree (binaries run from the build tree);
#                             a static library the engine links, so every
#                             program gets it without asking
#   quenvarix_data_installed  <prefix>/share/quenvarix/, an object library: a
#                             program that links it (the installed player)
#                             defines PATH itself, and the linker never takes
#                             the source-tree definition out of the archive
function(quenvarix_data_library name kind dir)
  add_library(${name} ${kind} ${PROJECT_SOURCE_DIR}/src/engine/path.cpp)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src/engine)
  target_compile_definitions(${name} PRIVATE QUENVARIX_ASSET_DIR="${dir}")
  target_link_libraries(${name} PUBLIC Qt5::Core)
endfunction()
