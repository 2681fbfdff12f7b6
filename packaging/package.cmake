# The Debian package, numbrix_VERSION_ARCH.deb, made by CPack (sh tools/package, or cpack in a
# build tree): the program, numbrix-skin, the skins and catalogues, the desktop entry, icons and
# AppStream component, the manual pages, and in share/doc/numbrix the changelog and the copyright
# file. The packages it depends on are computed from the binaries by dpkg-shlibdeps.

# The newest entry of the changelog is the release: its version must be project()'s, and its date
# is the release date of the AppStream component.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog changelog_head LIMIT_COUNT 1 REGEX "^numbrix \\(")
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog changelog_trailer LIMIT_COUNT 1 REGEX "^ -- ")
string(REGEX MATCH "^numbrix \\(([^)]+)\\)" changelog_head "${changelog_head}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog's newest entry is ${CMAKE_MATCH_1}, project() says ${PROJECT_VERSION}")
endif()
if(NOT changelog_trailer MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in \"${changelog_trailer}\"")
endif()
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
string(LENGTH ${month} month_digits)
if(month_digits EQUAL 1)
  set(month 0${month})
endif()
set(NUMBRIX_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})

# share/doc/numbrix: the changelog compressed without name or time stamp, and the copyright file
# in Debian's machine-readable format, made from LICENSE.
set(doc_dir ${CMAKE_BINARY_DIR}/packaging)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "\n$" "" license "${license}")
string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
string(REGEX REPLACE "\n" "\n " license "${license}")
file(WRITE ${doc_dir}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: numbrix\n\nFiles: *\nCopyright: 2026 Numbrix\nLicense: Expat\n ${license}\n")
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${doc_dir}/changelog.gz
  COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${doc_dir}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
add_custom_target(numbrix_changelog ALL DEPENDS ${doc_dir}/changelog.gz)
install(FILES ${doc_dir}/changelog.gz ${doc_dir}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/numbrix)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME numbrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Numbrix <numbrix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skinnable pocket calculator")
set(CPACK_PACKAGE_DESCRIPTION "Numbrix is a pocket calculator whose whole face is drawn from a skin: a
background image, a sheet of key, display and indicator pictures, and optional
sounds for each kind of key. It calculates in decimal, hexadecimal and binary,
in English or Japanese.

The skin authors' tool numbrix-skin checks a skin for every problem at once and
renders the faces the calculator shows.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://numbrix.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds what the binaries link; the libraries that the program loads when it first
# needs them (FreeType, fontconfig) are added by the packages that hold them here.
find_program(DPKG_QUERY dpkg-query)
set(loaded_packages "")
foreach(soname ${NUMBRIX_LOADED_LIBRARIES})
  find_library(loaded_${soname} NAMES ${soname})
  if(DPKG_QUERY AND loaded_${soname})
    execute_process(COMMAND ${DPKG_QUERY} -S ${loaded_${soname}} OUTPUT_VARIABLE owner ERROR_QUIET)
    if(owner MATCHES "^([^:,]+)")
      list(APPEND loaded_packages ${CMAKE_MATCH_1})
    endif()
  endif()
endforeach()
list(JOIN loaded_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# The shell's font, which draws the Japanese texts; without it no text is drawn. ATK's bridge (with
# ATK and GLib), which the program loads when a screen reader asks; without it none can read it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, libatk-bridge2.0-0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
