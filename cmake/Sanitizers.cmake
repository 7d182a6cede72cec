# AddressSanitizer + UndefinedBehaviorSanitizer for every target of the tree.
if(QUENVARIX_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()
