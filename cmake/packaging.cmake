# The Debian package (cpack -G DEB): the programs, their desktop files and the table definitions.
include(GNUInstallDirs)

# The version: the changelog's latest entry and, in a git checkout, the number of commits and
# the commit itself, so a package built from a later commit upgrades an installed one.
# `scadex --version` prints the same.
file(STRINGS ${CMAKE_SOURCE_DIR}/data/changelog SCADEX_CHANGELOG_TOP LIMIT_COUNT 1)
string(REGEX REPLACE "^scadex \\(([^)]+)\\).*$" "\\1" SCADEX_VERSION "${SCADEX_CHANGELOG_TOP}")
find_package(Git QUIET)
if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} RESULT_VARIABLE SCADEX_GIT_FAILED
                    OUTPUT_VARIABLE SCADEX_GIT_COMMITS OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=12 HEAD
                    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                    OUTPUT_VARIABLE SCADEX_GIT_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(SCADEX_GIT_FAILED EQUAL 0)
        string(APPEND SCADEX_VERSION "+git${SCADEX_GIT_COMMITS}.g${SCADEX_GIT_COMMIT}")
    endif()
endif()
target_compile_definitions(scadex PRIVATE SCADEX_VERSION="${SCADEX_VERSION}")

# Debian's documentation: the copyright notice and the changelog, compressed as policy asks.
set(SCADEX_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${SCADEX_CHANGELOG_GZ}
                   COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/data/changelog > ${SCADEX_CHANGELOG_GZ}
                   DEPENDS ${CMAKE_SOURCE_DIR}/data/changelog VERBATIM)
add_custom_target(scadex_changelog ALL DEPENDS ${SCADEX_CHANGELOG_GZ})
install(FILES ${CMAKE_SOURCE_DIR}/data/copyright ${SCADEX_CHANGELOG_GZ}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scadex)
set(CPACK_PACKAGE_VERSION ${SCADEX_VERSION})
set(CPACK_PACKAGE_VENDOR "SCADEX developers")
set(CPACK_PACKAGE_CONTACT "SCADEX developers <scadex@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reminders for the appointment book of Gestar")
set(CPACK_PACKAGE_DESCRIPTION
    "SCADEX keeps a reminder table in step with the appointment book of the Gestar\n"
    "management product, hands every reminder that falls due to its alert program\n"
    "SCADEX1.EXE, and lets the operator list, re-arm and stop the due appointments.\n"
    "It shows the count of due appointments in the system tray and posts desktop\n"
    "notifications where the desktop offers them.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The autostart entry goes under /etc: install into a staging root, not the running system.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SQLite driver is a plugin, loaded by name: dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/data/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
