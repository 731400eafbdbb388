# Installing the program and packing it: the program folder as the build lays it out (the three
# programs, config/, wav/, the manual) plus the sample event. On Linux it becomes a .deb with the
# folder in /opt/kavrel, the programs on the PATH and a menu entry; on Windows the folder is the zip
# and the installer's content (scripts/windows/ adds the DLLs and the installer).

if(WIN32)
  set(KAVREL_INSTALL_DIR .)
else()
  set(KAVREL_INSTALL_DIR opt/kavrel)
endif()

install(TARGETS kavrel-draw kavrel-verify kavrel-sheet RUNTIME DESTINATION ${KAVREL_INSTALL_DIR})
install(DIRECTORY ${KAVREL_APP_DIR}/wav ${KAVREL_APP_DIR}/manual DESTINATION ${KAVREL_INSTALL_DIR})
# An empty config/: the defaults are the program's built-in ones until the user saves.
install(DIRECTORY DESTINATION ${KAVREL_INSTALL_DIR}/config)
install(FILES assets/sample/set.dat assets/sample/jiangx.dat assets/sample/shezhijx.dat assets/sample/config.ini
        DESTINATION ${KAVREL_INSTALL_DIR}/sample)

if(NOT WIN32)
  # Installed, the folder belongs to the system: even root's copy of the program keeps its data in its
  # own data folder rather than in /opt.
  file(WRITE ${CMAKE_BINARY_DIR}/package/kavrel.installed "")
  install(FILES ${CMAKE_BINARY_DIR}/package/kavrel.installed DESTINATION ${KAVREL_INSTALL_DIR})

  # The programs on the PATH, as links into the program folder (the program finds its folder through
  # the link, so the sample event and the manual are found).
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/package/bin)
  foreach(program kavrel-draw kavrel-verify kavrel-sheet)
    file(CREATE_LINK /${KAVREL_INSTALL_DIR}/${program} ${CMAKE_BINARY_DIR}/package/bin/${program} SYMBOLIC)
    install(FILES ${CMAKE_BINARY_DIR}/package/bin/${program} DESTINATION usr/bin)
  endforeach()

  install(FILES scripts/package/kavrel.desktop DESTINATION usr/share/applications)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES assets/pictures/app_icon_${size}.png DESTINATION usr/share/icons/hicolor/${size}x${size}/apps
            RENAME kavrel.png)
  endforeach()

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME kavrel)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGING_INSTALL_PREFIX /)
  set(CPACK_PACKAGE_CONTACT "kavrel抽奖 developers <kavrel@localhost>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "kavrel抽奖 - prize draw for company events")
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Prize draw for company events, parties and annual meetings.\n An operator prepares a participant list and an award table, then runs the draw on a\n full-screen festive stage on a projector. Results are kept safely, receipts let\n anyone check the draw afterwards (kavrel-verify).")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_STRIP_FILES ON)
  # The libraries the programs link are found by dpkg-shlibdeps. Named by hand: what is loaded at
  # run time (libxlsxwriter for the export), Qt's Chinese dialogs, and a Chinese font.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libxlsxwriter4, qt6-translations-l10n, fonts-noto-cjk | fonts-wqy-microhei")
  # The camera (GStreamer), MIDI sounds (a General MIDI soundfont) and opening the manual.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-good, timgm6mb-soundfont, xdg-utils")
  set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
  include(CPack)
endif()
