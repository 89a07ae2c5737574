# Installation and the Debian package.
#
#   cmake --install build --prefix P   puts the five programs in P/bin, their manual
#                                     pages in P/share/man/man1 and man5, and the
#                                     README in P/share/doc/<package>, the sample
#                                     files and plan-night.sh in its examples/;
#   cd build && cpack -G DEB           builds <package>_<version>_<arch>.deb.

include(GNUInstallDirs)

set(EBT_PACKAGE_NAME eclipsing-binary-tools)
set(EBT_PACKAGE_MAINTAINER "Eclipsing binary tools maintainers <maintainers@eclipsing-binary-tools.invalid>"
    CACHE STRING "Maintainer named in the Debian package (Name <address>)")
set(EBT_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${EBT_PACKAGE_NAME})

install(TARGETS eclfore datesel nightmark phaselist starimport
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages are installed compressed (gzip -9n: no name or time stamp inside, so
# the package is reproducible), as Debian's policy asks; plain when gzip is absent.
set(EBT_MAN_PAGES man/eclfore.1 man/datesel.1 man/nightmark.1 man/phaselist.1 man/starimport.1
    man/eclipsing-binary-files.5 man/plan-night.sh.1)
find_program(EBT_GZIP gzip)
set(ebt_installed_pages)
foreach(page IN LISTS EBT_MAN_PAGES)
  get_filename_component(page_name ${page} NAME)
  string(REGEX REPLACE "^.*\\.([0-9])$" "\\1" section ${page_name})
  if(EBT_GZIP)
    set(installed ${PROJECT_BINARY_DIR}/man/${page_name}.gz)
    add_custom_command(OUTPUT ${installed}
      COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${page}
              ${PROJECT_BINARY_DIR}/man/${page_name}
      COMMAND ${EBT_GZIP} -9nf ${PROJECT_BINARY_DIR}/man/${page_name}
      DEPENDS ${PROJECT_SOURCE_DIR}/${page}
      COMMENT "Compressing manual page ${page_name}"
      VERBATIM)
  else()
    set(installed ${PROJECT_SOURCE_DIR}/${page})
  endif()
  list(APPEND ebt_installed_pages ${installed})
  install(FILES ${installed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${ebt_installed_pages})

install(FILES README.md DESTINATION ${EBT_DOC_DIR})
# The night's script keeps its execute bits, so that a cron line can call it there.
install(DIRECTORY examples/ DESTINATION ${EBT_DOC_DIR}/examples PATTERN "*.sh" EXCLUDE)
install(PROGRAMS examples/plan-night.sh DESTINATION ${EBT_DOC_DIR}/examples)

set(CPACK_PACKAGE_NAME ${EBT_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Eclipsing binary tools maintainers")
set(CPACK_PACKAGE_CONTACT ${EBT_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "plan observations of eclipsing binary stars from Japan")
set(CPACK_PACKAGE_DESCRIPTION
"Console programs with which an amateur observer plans observations of
eclipsing binary stars from a site in Japan. From a star catalogue with light
elements (epoch of primary minimum and period) they forecast every primary and
secondary minimum of a month that falls at night with the star high enough
(eclfore), cut one night out of the sorted forecast (datesel), keep what is
still worth observing from a start time and write mark files for planetarium
software (nightmark), and tabulate phases and altitudes at two times
(phaselist). starimport turns the GCVS, VSX exports and VSX JSON replies into
checked catalogue lines. All times are on the clock --zone names (Japan Standard
Time by default); the programs ask
their questions on the console and meet through fixed-column text files.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${EBT_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The programs need the C and C++ runtime, ERFA (liberfa1), {fmt} (libfmt9), libuuid
# (nightmark's list ids and eclfore's event UIDs), libical (libical3, eclfore's calendar)
# and the zone library (libdate-tz3) with its database (tzdata);
# dpkg-shlibdeps (dpkg-dev) finds the exact versions, and without
# it the libraries are named plainly.
find_program(EBT_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(EBT_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The zone database is read as data, not linked: dpkg-shlibdeps cannot see it.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "tzdata")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6, liberfa1, libfmt9, libuuid1, libical3, libdate-tz3, tzdata")
endif()
set(CPACK_GENERATOR DEB)
include(CPack)
