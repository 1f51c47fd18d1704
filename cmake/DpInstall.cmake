# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes of it.
# The programs reach their private libraries through RPATH $ORIGIN/../lib/mirelle; the
# libraries and modules there reach each other through $ORIGIN.
foreach(program mirelle mirelle-cli)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${DP_INSTALL_BINDIR})
    endif()
endforeach()
foreach(library MirelleComponent ThumbForge ScanEngine PublicLoader MultiLanguage MainFrame)
    if(TARGET ${library})
        set_target_properties(${library} PROPERTIES INSTALL_RPATH "$ORIGIN")
        install(TARGETS ${library} LIBRARY DESTINATION ${DP_INSTALL_MODULEDIR} NAMELINK_SKIP)
    endif()
endforeach()
if(TARGET MirelleUI_rcc)
    install(FILES ${CMAKE_BINARY_DIR}/bin/MirelleUI.rcc DESTINATION ${DP_INSTALL_DATADIR})
endif()

set(DP_PACKAGE_MAINTAINER "Mirelle developers <mirelle@example.org>" CACHE STRING "Maintainer named in the Debian package")
set(CPACK_PACKAGE_NAME mirelle)
set(CPACK_PACKAGE_VENDOR "Mirelle developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Finds duplicate and similar photos and removes the surplus copies")
set(CPACK_PACKAGE_DESCRIPTION "Mirelle finds exact and similar copies of photos in folders or on whole
drives, groups them, proposes which copies to remove and removes them into the
trash, to a folder or for good. mirelle-cli does the same without a window.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${DP_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# What dpkg-shlibdeps cannot see: the QML modules the screens import, the image format
# plug-ins (WebP, TIFF) and the SQLite driver of the journal and the decisions.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qml-module-qtquick2, qml-module-qtquick-controls2, qml-module-qtquick-layouts, \
qml-module-qtquick-window2, qml-module-qtquick-dialogs, qml-module-qtqml-models2, qt5-image-formats-plugins, \
libqt5sql5-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_GENERATOR DEB)
include(CPack)
