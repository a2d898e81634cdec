# What an installation holds under its prefix, checked in an installed tree: every file and
# nothing else, the icons' sizes, and the desktop entry and metainfo as a desktop reads them.
# Included by the installation and package checks with
#   baum      the tree's root (DESTDIR, or where the package was unpacked)
#   wurzel    the prefix inside it
#   ID, DESKTOP_FILE_VALIDATE, APPSTREAMCLI as given to them
# and adds what is wrong to `fehler` with fehler_melden().

set(desktop "${wurzel}/share/applications/${ID}.desktop")
set(metainfo "${wurzel}/share/metainfo/${ID}.metainfo.xml")
# Relative to the prefix, also for the package's listing.
set(erwartet_relativ
  "bin/fotoschliff" "share/applications/${ID}.desktop" "share/metainfo/${ID}.metainfo.xml"
  "share/icons/hicolor/scalable/apps/${ID}.svg"
  "share/man/man1/fotoschliff.1.gz" "share/doc/fotoschliff/copyright" "share/doc/fotoschliff/changelog.gz")
foreach(kante 48 128 256)
  list(APPEND erwartet_relativ "share/icons/hicolor/${kante}x${kante}/apps/${ID}.png")
endforeach()
list(TRANSFORM erwartet_relativ PREPEND "${wurzel}/" OUTPUT_VARIABLE erwartet)
foreach(datei IN LISTS erwartet)
  if(NOT EXISTS "${datei}")
    fehler_melden("missing: ${datei}")
  endif()
endforeach()

# Everything installed, and nothing else: Qt's translations are found where Qt keeps them.
file(GLOB_RECURSE installiert LIST_DIRECTORIES false "${baum}/*")
foreach(datei IN LISTS installiert)
  if(NOT datei IN_LIST erwartet)
    fehler_melden("unexpected file: ${datei}")
  endif()
endforeach()

# Each PNG has the size its folder names (the width and height fields of the IHDR chunk).
foreach(kante 48 128 256)
  set(png "${wurzel}/share/icons/hicolor/${kante}x${kante}/apps/${ID}.png")
  if(EXISTS "${png}")
    file(READ "${png}" kennung LIMIT 8 HEX)
    file(READ "${png}" masse OFFSET 16 LIMIT 8 HEX)
    math(EXPR soll "${kante}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${masse}" 0 8 breite)
    string(SUBSTRING "${masse}" 8 8 hoehe)
    math(EXPR breite "0x${breite}")
    math(EXPR hoehe "0x${hoehe}")
    if(NOT kennung STREQUAL "89504e470d0a1a0a" OR NOT breite EQUAL kante OR NOT hoehe EQUAL kante)
      fehler_melden("${png}: not a ${kante} x ${kante} PNG (${breite} x ${hoehe})")
    endif()
  endif()
endforeach()

# The desktop entry opens JPEG files with the installed program under the common id.
if(EXISTS "${desktop}")
  file(STRINGS "${desktop}" zeilen)
  foreach(zeile "Exec=fotoschliff %f" "MimeType=image/jpeg;" "Icon=${ID}" "Categories=Graphics;Photography;")
    if(NOT zeile IN_LIST zeilen)
      fehler_melden("${desktop}: no line \"${zeile}\"")
    endif()
  endforeach()
  if(NOT DESKTOP_FILE_VALIDATE)
    fehler_melden("desktop-file-validate not found (Debian package desktop-file-utils)")
  else()
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${desktop}" RESULT_VARIABLE rc OUTPUT_VARIABLE aus ERROR_VARIABLE aus)
    # Hints are advice; errors and warnings are not.
    string(REGEX MATCHALL "[^\n]*(error|warning):[^\n]*" beanstandet "${aus}")
    if(NOT rc EQUAL 0 OR beanstandet)
      fehler_melden("desktop-file-validate (${rc}):\n${aus}")
    endif()
  endif()
endif()

if(EXISTS "${metainfo}")
  file(READ "${metainfo}" inhalt)
  foreach(stueck "<id>${ID}</id>" "<launchable type=\"desktop-id\">${ID}.desktop</launchable>"
                 "<mediatype>image/jpeg</mediatype>" "<content_rating type=\"oars-1.1\"/>"
                 "<summary xml:lang=\"de\">")
    string(FIND "${inhalt}" "${stueck}" stelle)
    if(stelle LESS 0)
      fehler_melden("${metainfo}: lacks ${stueck}")
    endif()
  endforeach()
  if(NOT APPSTREAMCLI)
    fehler_melden("appstreamcli not found (Debian package appstream)")
  else()
    execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net "${metainfo}"
                    RESULT_VARIABLE rc OUTPUT_VARIABLE aus ERROR_VARIABLE aus)
    if(NOT rc EQUAL 0)
      fehler_melden("appstreamcli validate --no-net (${rc}):\n${aus}")
    endif()
  endif()
endif()
