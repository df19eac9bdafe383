# What `cmake --install` puts under the prefix: the programs in bin/, the importer in libexec/,
# the data every user reads in share/bible/, and the desktop's menu entry, icons, AppStream
# metadata and manual pages. An installed program keeps each user's settings, histories and
# imports in that user's own folders (core/datapaths.h).
include(GNUInstallDirs)

# The folder holding the default data set made by scripts/stage-data.sh (version folders,
# "Dictionaries", "Pictures"); empty installs the data staged in the build folder's stage/ when
# it has been staged (scripts/run.sh, the tests), else the program without data.
set(BIBLE_DATA_DIR "" CACHE PATH "Staged default data set to install under share/bible")
set(bible_data_source ${BIBLE_DATA_DIR})
set(bible_data_optional "")
if(NOT bible_data_source)
  set(bible_data_source ${CMAKE_BINARY_DIR}/stage)
  set(bible_data_optional OPTIONAL)
endif()

set(bible_datadir ${CMAKE_INSTALL_DATADIR}/bible)

install(TARGETS bible bible-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(tool beacon)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
# bible-tool starts its importer from ../libexec/bible-tool/ when it is not beside it.
if(TARGET bible-tool-import)
  install(TARGETS bible-tool-import RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/bible-tool)
endif()

install(FILES ${CMAKE_BINARY_DIR}/app/Beg1.wav DESTINATION ${bible_datadir})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${bible_datadir}/help)
# Only data: never a program, a settings file, a history or the module library that a staged
# run left there.
install(DIRECTORY ${bible_data_source}/ DESTINATION ${bible_datadir} ${bible_data_optional}
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        REGEX "/(bible|bible-tool|bible-tool-import|beacon|makewav)$" EXCLUDE
        REGEX "/sword(/|$)" EXCLUDE
        REGEX "/help(/|$)" EXCLUDE
        REGEX "/Beg1\\.wav$" EXCLUDE
        REGEX "\\.(ini|sh)$" EXCLUDE
        REGEX "/(Search_List|VerseHistory)\\.txt$" EXCLUDE
        REGEX "/\\.[^/]*$" EXCLUDE)

set(bible_app_id io.github.bible_reader.Bible)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${bible_app_id}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${bible_app_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/icons/${size}x${size}/bible.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/dist/icons/bible.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/dist/bible.1 ${CMAKE_SOURCE_DIR}/dist/bible-tool.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET beacon)
  install(FILES ${CMAKE_SOURCE_DIR}/dist/beacon.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
