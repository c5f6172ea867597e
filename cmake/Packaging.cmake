# The Debian package (cpack -G DEB, or `make package` at the top): both
# programs, the desktop entry, the icon, the AppStream metainfo, the manual
# pages, the example files, and the Debian copyright and changelog.
include(GNUInstallDirs)

set(DILATANY_PACKAGE_MAINTAINER "Dilatany maintainers <maintainers@dilatany.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME})

# Debian wants the manual pages and the changelog compressed, and without a
# time stamp in the gzip header, so that a rebuild gives the same bytes.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
function(dilatany_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${source} > ${output}
    DEPENDS ${source} VERBATIM)
endfunction()
set(packaging_out ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${packaging_out})
dilatany_gzip(${PROJECT_SOURCE_DIR}/cli/dilatany-check.1 ${packaging_out}/dilatany-check.1.gz)
dilatany_gzip(${PROJECT_SOURCE_DIR}/app/dilatany.1 ${packaging_out}/dilatany.1.gz)
dilatany_gzip(${PROJECT_SOURCE_DIR}/packaging/debian/changelog ${packaging_out}/changelog.gz)
add_custom_target(dilatany_package_files ALL DEPENDS
  ${packaging_out}/dilatany-check.1.gz ${packaging_out}/dilatany.1.gz ${packaging_out}/changelog.gz)

# The changelog's newest entry names the version being packaged.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^${PROJECT_NAME} \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog: the newest entry is not version ${PROJECT_VERSION}")
endif()

install(FILES ${packaging_out}/dilatany-check.1.gz ${packaging_out}/dilatany.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${packaging_out}/changelog.gz
        DESTINATION ${doc_dir})
install(FILES ${PROJECT_SOURCE_DIR}/examples/u-default.dat ${PROJECT_SOURCE_DIR}/examples/u-steel.dat
              ${PROJECT_SOURCE_DIR}/examples/l-default.dat ${PROJECT_SOURCE_DIR}/examples/l-steel.dat
        DESTINATION ${doc_dir}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/cpack)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${DILATANY_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stress check of pipe expansion loops and L-bends")
# The extended description; CPack puts the summary above it and indents it
# as Debian wants, an empty line becoming a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Dilatany checks whether the expansion compensator that a hot-water pipe
forms by itself, a U-loop or an L-bend, stays within the allowable stress
when the pipe warms from its installation temperature to the temperature of
the water. The program's windows and messages are in Czech.

The package holds the windowed program dilatany and the command-line
checker dilatany-check, which checks many input data files at once.")
include(CPack)
