# The Debian package: `cpack -G DEB` in the build folder, after a build.
# It holds what the install rules put under /usr, with the binaries stripped.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantorel)
set(CPACK_PACKAGE_VENDOR "The Vantorel developers")
set(CPACK_PACKAGE_CONTACT "The Vantorel developers <vantorel@example.org>")
# The Homepage field only for a page that exists (VANTOREL_HOMEPAGE).
if(VANTOREL_HOMEPAGE)
    set(CPACK_PACKAGE_HOMEPAGE_URL "${VANTOREL_HOMEPAGE}")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "laser-pointer target practice with a web camera")
set(CPACK_PACKAGE_DESCRIPTION
    "Print the paper target, point a web camera at it in a dim room and fire a
laser pointer at it: Vantorel finds the dot in the camera picture, scores it
by its distance from the centre, puts a hole marker on its target picture and
writes a score card for a series of ten shots, with spoken cues between shots.

The package holds the program (vantorel), the program on a simulated range
that needs no camera (vantorel-sim), a tool that replays recorded frames
through the shot detection (vantorel-replay) and one that shows the history
of finished series with its statistics and plots (vantorel-history).")
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};vantorel;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": Debian keeps those programs in /usr/games, and ours are
# installed into bin/ like any other.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the executables; the camera needs GStreamer's
# V4L2 source, JPEG decoder and colour conversion at run time, which no
# library names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
# Help > Help Topics opens the help pages in the web browser through
# xdg-open and asks xdg-mime which program shows a file. The replay tool
# reads MP4 (H.264) videos with GStreamer's libav decoders. A viewer for the
# .chm file (kchmviewer, which brings some 60 packages) is only used when
# there is no browser, so it is suggested, not recommended.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, gstreamer1.0-libav")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "kchmviewer")

include(CPack)
