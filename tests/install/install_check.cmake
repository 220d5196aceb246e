# Installs the build into a fresh temporary prefix and checks what a desktop
# expects to find there. Run as: cmake -DBUILD=... -DPREFIX=... -P install_check.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(file
    bin/kelm-exchange
    bin/kelm-catalogue
    share/applications/kelm-exchange.desktop
    share/icons/hicolor/48x48/apps/kelm-exchange.png
    share/icons/hicolor/256x256/apps/kelm-exchange.png
    share/kelm-exchange/catalogue.sql
    share/doc/kelm-exchange/copyright)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/kelm-exchange.desktop entry)
foreach(line "Name=Обмен справочниками Kelm 3" "Exec=kelm-exchange" "Icon=kelm-exchange" "Type=Application")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks \"${line}\"")
  endif()
endforeach()
if(NOT entry MATCHES "\nComment=[^\n]*справочник" OR NOT entry MATCHES "\nCategories=[^\n]*(Office|Science);")
  message(FATAL_ERROR "the desktop entry needs a Russian comment and the category Office or Science")
endif()
# Menus put an entry with more than one main category in several places.
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/kelm-exchange.desktop
                  RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT status EQUAL 0 OR NOT said STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${said}")
  endif()
else()
  message(WARNING "desktop-file-validate is not installed: the desktop entry is not validated")
endif()
# The window opens any .xml it is given, but .xml files belong to other programs.
if(entry MATCHES "MimeType=")
  message(FATAL_ERROR "the desktop entry claims file types")
endif()
