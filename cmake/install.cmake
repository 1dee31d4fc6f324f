# What `cmake --install` puts where (GNU layout): the programs in bin/, the shipped data files
# read-only in share/quillon/, the desktop entry, icon, AppStream data and manual pages.
include(GNUInstallDirs)

set(QUILLON_APP_ID org.brenvik.Quillon)
set(QUILLON_READ_ONLY OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

install(TARGETS quillon-mkdemo quillon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(QUILLON_BUILD_UI)
    install(TARGETS quillon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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
if(QUILLON_BUILD_UI)
    install(FILES ${CMAKE_BINARY_DIR}/desktop/${QUILLON_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
            PERMISSIONS ${QUILLON_READ_ONLY})
endif()
install(FILES ${CMAKE_BINARY_DIR}/desktop/${QUILLON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo PERMISSIONS ${QUILLON_READ_ONLY})

# Manual pages made from each program's --help and --version at build time.
find_program(QUILLON_HELP2MAN help2man)
if(QUILLON_BUILD_UI AND QUILLON_HELP2MAN)
    set(QUILLON_MAN_PAGES)
    foreach(program quillon quillon-cli)
        if(program STREQUAL "quillon")
            set(summary "editor for the overworld maps of GBA ROM images")
        else()
            set(summary "list, draw and change the maps of GBA ROM images from scripts")
        endif()
        set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
        add_custom_command(OUTPUT ${page}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                    ${QUILLON_HELP2MAN} --no-info --no-discard-stderr --section=1
                    --version-string=${PROJECT_VERSION}
                    "--name=${summary}" --output=${page} $<TARGET_FILE:${program}>
            DEPENDS ${program}
            COMMENT "Manual page of ${program}")
        list(APPEND QUILLON_MAN_PAGES ${page})
    endforeach()
    add_custom_target(quillon_man ALL DEPENDS ${QUILLON_MAN_PAGES})
    install(FILES ${QUILLON_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            PERMISSIONS ${QUILLON_READ_ONLY})
elseif(QUILLON_BUILD_UI)
    message(STATUS "help2man not found (package help2man): no manual pages")
endif()

# The tool's bash completion, printed by the built tool from its own commands, so a command
# added later is completed without touching the script.
if(QUILLON_BUILD_UI)
    set(QUILLON_COMPLETION ${CMAKE_BINARY_DIR}/completion/quillon-cli.bash)
    add_custom_command(OUTPUT ${QUILLON_COMPLETION}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/completion
        COMMAND $<TARGET_FILE:quillon-cli> completion bash > ${QUILLON_COMPLETION}.part
        COMMAND ${CMAKE_COMMAND} -E rename ${QUILLON_COMPLETION}.part ${QUILLON_COMPLETION}
        DEPENDS quillon-cli
        COMMENT "Bash completion of quillon-cli")
    add_custom_target(quillon_completion ALL DEPENDS ${QUILLON_COMPLETION})
    install(FILES ${QUILLON_COMPLETION}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
            RENAME quillon-cli PERMISSIONS ${QUILLON_READ_ONLY})
endif()
