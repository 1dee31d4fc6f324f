# What `cmake --install` puts where (GNU layout): the programs in bin/, the shipped data files
# read-only in share/quillon/, the desktop entry, icon, AppStream data and manual pages.
include(GNUInstallDirs)

set(QUILLON_APP_ID org.brenvik.Quillon)
set(QUILLON_READ_ONLY OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

install(TARGETS quillon-mkdemo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(QUILLON_BUILD_UI)
    install(TARGETS quillon quillon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The program finds these as ../share/quillon beside its bin/ folder and never writes there.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/Ini
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillon
        FILE_PERMISSIONS ${QUILLON_READ_ONLY})
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillon PERMISSIONS ${QUILLON_READ_ONLY})

set(QUILLON_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/data/desktop)
configure_file(${QUILLON_DESKTOP_DIR}/${QUILLON_APP_ID}.metainfo.xml
               ${CMAKE_BINARY_DIR}/desktop/${QUILLON_APP_ID}.metainfo.xml @ONLY)
install(FILES ${QUILLON_DESKTOP_DIR}/${QUILLON_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications PERMISSIONS ${QUILLON_READ_ONLY})
install(FILES ${QUILLON_DESKTOP_DIR}/${QUILLON_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        PERMISSIONS ${QUILLON_READ_ONLY})
install(FILES ${CMAKE_BINARY_DIR}/desktop/${QUILLON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo PERMISSIONS ${QUILLON_READ_ONLY})
