# Install.cmake — what `cmake --install` puts where, and the Debian package
# `cpack -G DEB` makes of it (included from the top-level CMakeLists.txt):
#
#   games/plimbo-direr, games/wordbank
#   share/plimbo-direr/            the read-only data (Common/, 248/) and the word bank
#   share/applications/, share/metainfo/, share/icons/hicolor/   the desktop's entries
#   share/man/man6/plimbo-direr.6.gz, share/man/man6/wordbank.6.gz
#   share/doc/plimbo-direr/        copyright (with the fonts' licence), changelog, README
#
# The programs find their data one folder up from themselves, in
# share/plimbo-direr/, so games/ and share/ must stay siblings. Debian keeps
# games in games/ (on every player's PATH); PLIMBO_INSTALL_GAMEDIR=bin suits
# a prefix whose games/ is not on the PATH. The version and release date are
# those of the newest entry in packaging/changelog.
include(GNUInstallDirs)

set(PLIMBO_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(PLIMBO_MAINTAINER "Morvane <games@morvane.example>" CACHE STRING "Maintainer of the Debian package")
set(PLIMBO_APP_ID example.morvane.PlimboDirer)
set(PLIMBO_INSTALL_GAMEDIR games CACHE STRING "Folder of the prefix the programs are installed in (games or bin)")

file(STRINGS ${PLIMBO_PACKAGING}/changelog changelog LIMIT_COUNT 10)
list(GET changelog 0 newest)
string(REGEX MATCH "\\(([^)]+)\\)" in_brackets "${newest}")
set(PLIMBO_VERSION ${CMAKE_MATCH_1})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
foreach(line IN LISTS changelog)
  if(line MATCHES "^ -- .*, ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) ")
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    list(FIND months ${CMAKE_MATCH_2} month)
    math(EXPR month "${month} + 1")
    if(month LESS 10)
      set(month 0${month})
    endif()
    set(PLIMBO_RELEASE_DATE ${year}-${month}-${day})
    break()
  endif()
endforeach()
if(NOT PLIMBO_VERSION OR NOT PLIMBO_RELEASE_DATE)
  message(FATAL_ERROR "packaging/changelog: no version or date in its newest entry")
endif()

# Manual pages from the README, and the compressed changelog.
set(docs ${CMAKE_BINARY_DIR}/docs)
add_custom_command(
  OUTPUT ${docs}/plimbo-direr.6.gz ${docs}/wordbank.6.gz ${docs}/changelog.gz
  COMMAND bash ${PLIMBO_PACKAGING}/docs.sh ${CMAKE_SOURCE_DIR} ${docs} ${PLIMBO_VERSION} ${PLIMBO_RELEASE_DATE}
  DEPENDS ${CMAKE_SOURCE_DIR}/README.md ${PLIMBO_PACKAGING}/manpage.awk ${PLIMBO_PACKAGING}/docs.sh
          ${PLIMBO_PACKAGING}/changelog
  COMMENT "Writing the manual pages from the README"
  VERBATIM)
add_custom_target(plimbo_docs ALL DEPENDS ${docs}/plimbo-direr.6.gz ${docs}/wordbank.6.gz ${docs}/changelog.gz)
configure_file(${PLIMBO_PACKAGING}/${PLIMBO_APP_ID}.metainfo.xml.in ${docs}/${PLIMBO_APP_ID}.metainfo.xml @ONLY)

# The game under its installed name. A renamed file is not stripped by CMake,
# so a stripping install (cpack, `cmake --install --strip`) does it here.
install(PROGRAMS $<TARGET_FILE:plimbo> DESTINATION ${PLIMBO_INSTALL_GAMEDIR} RENAME plimbo-direr)
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${PLIMBO_INSTALL_GAMEDIR}/plimbo-direr\")
  endif()")
install(TARGETS wordbank RUNTIME DESTINATION ${PLIMBO_INSTALL_GAMEDIR})

# Only what the game reads: the build's data folder may also hold a
# developer's Setup.ini, Debug.txt, screenshots, scores.dat and crash.dat.
set(data_dir ${CMAKE_INSTALL_DATADIR}/plimbo-direr)
install(DIRECTORY ${PLIMBO_DATA_DIR}/Common ${PLIMBO_DATA_DIR}/248 DESTINATION ${data_dir}
  FILES_MATCHING PATTERN "*.png" PATTERN "*.wav" PATTERN "*.ttf" REGEX "/music/[^/]*\\.ini$")
install(FILES ${CMAKE_BINARY_DIR}/tools/wordbank/sowpods_bank_zip.dat DESTINATION ${data_dir})

install(FILES ${PLIMBO_PACKAGING}/plimbo-direr.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${docs}/${PLIMBO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PLIMBO_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${docs}/plimbo-direr.6.gz ${docs}/wordbank.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PLIMBO_PACKAGING}/copyright ${docs}/changelog.gz ${CMAKE_SOURCE_DIR}/README.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/plimbo-direr)

# The Debian package. Its dependencies are worked out by dpkg-shlibdeps from
# the programs' libraries; the fonts travel inside it (see copyright).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plimbo-direr)
set(CPACK_PACKAGE_VERSION ${PLIMBO_VERSION})
set(CPACK_PACKAGE_VENDOR Morvane)
set(CPACK_PACKAGE_CONTACT ${PLIMBO_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game of a bouncing ball, a cave and your own ghosts")
set(CPACK_PACKAGE_DESCRIPTION "Plimbo Direr is a small arcade game. A ball bounces by itself through a
generated cave: push it left and right, and time a high bounce as it lands,
to collect the pickups before each try's timer runs out. Every finished try
replays as a ghost beside you, and touching a ghost ends the game.

Settings, scores and screenshots are kept in each player's
~/.local/share/plimbo-direr/.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.morvane.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
