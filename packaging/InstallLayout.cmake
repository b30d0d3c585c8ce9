# Where an installed Vellumark lives under the prefix. The executables look for
# their assets in Files/ beside their own real path, so they are installed
# together, as one self-contained program folder, and only linked into bin/:
#
#   lib/vellumark/vellumark, lib/vellumark/vellumark-skin, lib/vellumark/Files/...
#   bin/vellumark -> ../lib/vellumark/vellumark (relative, so the tree can move)
#   share/vellumark/examples/skins/... (the example skins)
include(GNUInstallDirs)

set(VELLUMARK_INSTALL_APPDIR "lib/vellumark" CACHE STRING
    "Program folder of the installed executables and their Files/, relative to the prefix")

# The example skins, so that README's vellumark-skin examples work without the
# source tree: share/vellumark/examples/skins/harbour.
set(VELLUMARK_INSTALL_EXAMPLESDIR "${CMAKE_INSTALL_DATADIR}/vellumark/examples" CACHE STRING
    "Folder of the installed example skins, relative to the prefix")

foreach(dir IN ITEMS VELLUMARK_INSTALL_APPDIR CMAKE_INSTALL_BINDIR)
  if(IS_ABSOLUTE "${${dir}}")
    message(FATAL_ERROR "${dir} must be relative to the install prefix (the bin/ links are relative)")
  endif()
endforeach()

# Installs the executable target into the program folder and a relative
# symbolic link to it into bin/. The link is made in the build folder and
# installed as it is, so it shows in install_manifest.txt and in the packages.
function(vellumark_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${VELLUMARK_INSTALL_APPDIR})
  set(name ${target}${CMAKE_EXECUTABLE_SUFFIX})
  file(RELATIVE_PATH link_target /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VELLUMARK_INSTALL_APPDIR}/${name})
  set(links ${CMAKE_BINARY_DIR}/install-links)
  file(MAKE_DIRECTORY ${links})
  file(CREATE_LINK ${link_target} ${links}/${name} SYMBOLIC)
  install(FILES ${links}/${name} DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
