# The Debian package: `cpack -G DEB` in the build folder (packaging/build-deb.sh
# does it all) makes vellumark_<version>_<arch>.deb of what `cmake --install`
# puts under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumark)
set(CPACK_PACKAGE_VENDOR "The Vellumark developers")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_CONTACT "The Vellumark developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skin editor for the Ruvex music player")
set(CPACK_PACKAGE_DESCRIPTION
    "Vellumark edits the skins of Ruvex, a music player for phones with a 176x220
display: pick an element of the player's screen, change its position, size,
colour, font, style or anchor, and watch a pixel-exact preview follow every
change. Pictures can be viewed and replaced from GIF files, or from PNG and
other pictures made into GIFs.
The package also holds vellumark-skin, which draws the same preview into a PNG
file without a window.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # vellumark_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Needed at run time but not linked: the DejaVu Sans files that the preview
# loads, the regular and bold faces from fonts-dejavu-core and the oblique ones
# from fonts-dejavu-extra. (Debian 12 ships Qt's xcb and offscreen platform
# plugins in libqt6gui6 itself; qt6-qpa-plugins holds only VNC and TUIO ones.)
set(VELLUMARK_DEB_RUNTIME "fonts-dejavu-core, fonts-dejavu-extra")
# The libraries' packages come from dpkg-shlibdeps (dpkg-dev), with the versions
# the executables were linked against. Without it CPack would quietly leave them
# out, so they are then named here (Debian 12's names).
find_program(VELLUMARK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VELLUMARK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${VELLUMARK_DEB_RUNTIME}")
else()
  message(STATUS "dpkg-shlibdeps not found (package dpkg-dev): the .deb names its libraries' packages without versions")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libqt6core6, libqt6gui6, libqt6widgets6, libgif7, libimagequant0, ${VELLUMARK_DEB_RUNTIME}")
endif()

set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/fuzz-build[^/]*/")

include(CPack)
