# The Debian package (cpack -G DEB): the programs, their desktop files, manual pages and the
# table definitions.
include(GNUInstallDirs)

# The version: the changelog's latest entry and, in a git checkout, the number of commits and
# the commit itself, so a package built from a later commit upgrades an installed one.
# Each program's --version prints the same.
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
# Set on the one source that holds it, so a new commit recompiles that file alone.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/versione.cpp
                            DIRECTORY ${CMAKE_SOURCE_DIR}/src/app
                            PROPERTIES COMPILE_DEFINITIONS SCADEX_VERSION="${SCADEX_VERSION}")

# scadex_gzip(<source> <destination>): installs data/<source> compressed as Debian's policy
# asks (gzip -9n), built by the target scadex_docs.
set(SCADEX_GZIPPED "")
function(scadex_gzip source destination)
    get_filename_component(name ${source} NAME)
    set(output ${CMAKE_BINARY_DIR}/gzipped/${name}.gz)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/gzipped
                       COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/data/${source} > ${output}
                       DEPENDS ${CMAKE_SOURCE_DIR}/data/${source} VERBATIM)
    install(FILES ${output} DESTINATION ${destination})
    set(SCADEX_GZIPPED ${SCADEX_GZIPPED} ${output} PARENT_SCOPE)
endfunction()

# Debian's documentation: the copyright notice, the changelog, an annotated Gestar.ini, and a
# manual page for each program.
scadex_gzip(changelog ${CMAKE_INSTALL_DOCDIR})
foreach(page scadex.1 SCADEX1.EXE.1 scadex-demo.1)
    scadex_gzip(man/${page} ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(scadex_docs ALL DEPENDS ${SCADEX_GZIPPED})
install(FILES ${CMAKE_SOURCE_DIR}/data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/Gestar.ini DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# The demo workspace maker, so a new user can see SCADEX at work before pointing it at real
# files.
install(TARGETS scadex-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

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
# "&Documento" opens documents through the desktop's default applications; Qt's Italian
# translations give its standard buttons their Italian texts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/data/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
