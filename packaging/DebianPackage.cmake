# The Debian package that `cpack` (through `make package`) builds from the
# installation. Shared-library dependencies are derived by dpkg-shlibdeps;
# what the player loads at run time without linking it is declared by hand
# (see docs/packaging.md for why each one is there).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenvarix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quenvarix developers")
set(CPACK_PACKAGE_CONTACT "The Quenvarix developers <developers@quenvarix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time 3D demo with its own soundtrack")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quenvarix.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, ffmpeg")
# The body of the description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Quenvarix plays a fixed 46-second sequence of animated scenes in one
fullscreen OpenGL window, in step with its own music track: a title screen,
hopping boxes and cogwheels, textured props and flickering credit captions.
A slow machine drops frames, but the picture keeps to the clock.

The package also holds quenvarix-capture, which renders the same demo frame
by frame to PNG pictures or to an H.264 video, identical on every machine.

Warning: the title screen and the credit captions flash several times a
second.")

include(CPack)
