# The packaging checks, run by ctest with the other tests. They need the
# Debian packages of the [test] section of scripts/packages.txt.
set(desktop ${CMAKE_CURRENT_SOURCE_DIR}/desktop)
add_test(NAME Packaging.DesktopEntries
         COMMAND desktop-file-validate ${desktop}/${VANTOREL_APP_ID}.desktop
                 ${desktop}/${VANTOREL_APP_ID}.sim.desktop)
add_test(NAME Packaging.AppStreamData
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-metainfo.sh
                 ${CMAKE_CURRENT_SOURCE_DIR}/metainfo/${VANTOREL_APP_ID}.metainfo.xml.in
                 ${VANTOREL_METAINFO} "${VANTOREL_HOMEPAGE}")

get_property(programs GLOBAL PROPERTY VANTOREL_PROGRAMS)
list(TRANSFORM programs REPLACE "(.+)" "${CMAKE_CURRENT_BINARY_DIR}/man/\\1.1.gz" OUTPUT_VARIABLE pages)
add_test(NAME Packaging.ManPages COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-man-pages.sh ${pages})
add_test(NAME Packaging.Install
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-install.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR}
                 ${programs})
add_test(NAME Packaging.DebianPackage
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-deb.sh ${PROJECT_BINARY_DIR} ${PROJECT_VERSION}
                 "${VANTOREL_HOMEPAGE}" ${programs})
# The package check runs the build's install step: it may take a while.
set_tests_properties(Packaging.Install Packaging.DebianPackage PROPERTIES TIMEOUT 300)
