# The asset base directory is fixed at build time. The library leaves it open;
# every executable links one of these two objects:
#   quenvarix_path_source   the source tree (binaries run from the build tree)
#   quenvarix_path_install  <prefix>/share/quenvarix/ (the installed player)
function(quenvarix_path_object name dir)
  add_library(${name} OBJECT ${PROJECT_SOURCE_DIR}/src/engine/path.cpp)
  target_compile_definitions(${name} PRIVATE QUENVARIX_ASSET_DIR="${dir}")
  target_link_libraries(${name} PRIVATE Qt5::Core)
endfunction()
