# Builds the Debian package with CPack into a scratch folder and checks it without installing
# it: its control fields, its listing, the tree unpacked from it (as an installation), the
# program inside started from there, and lintian's verdict.
#   -D BUILD=<build folder> -D ZIEL=<scratch folder> -D ID=<desktop id> -D VERSION=<version>
#   -D CPACK=<program> -D DPKG=<program> -D DPKG_DEB=<program> -D READELF=<program>
#   -D LINTIAN=<program> -D DESKTOP_FILE_VALIDATE=<program> -D APPSTREAMCLI=<program>
cmake_minimum_required(VERSION 3.25)

set(fehler "")
macro(fehler_melden text)
  string(APPEND fehler "  ${text}\n")
endmacro()
foreach(programm CPACK DPKG DPKG_DEB READELF LINTIAN)
  if(NOT ${programm})
    message(FATAL_ERROR "${programm} not found (Debian packages cmake, dpkg, binutils, lintian)")
  endif()
endforeach()

file(REMOVE_RECURSE "${ZIEL}")
file(MAKE_DIRECTORY "${ZIEL}")
execute_process(COMMAND "${CPACK}" --config "${BUILD}/CPackConfig.cmake" -G DEB -B "${ZIEL}/cpack"
                RESULT_VARIABLE rc OUTPUT_VARIABLE aus ERROR_VARIABLE aus)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed (${rc}):\n${aus}")
endif()
execute_process(COMMAND "${DPKG}" --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(paket "${ZIEL}/cpack/fotoschliff_${VERSION}_${arch}.deb")
if(NOT EXISTS "${paket}")
  file(GLOB gebaut "${ZIEL}/cpack/*.deb")
  message(FATAL_ERROR "cpack made no ${paket}, but: ${gebaut}")
endif()

# The control fields: who, what, where it belongs, and what it needs — both the libraries
# dpkg-shlibdeps found and what Qt loads at run time.
execute_process(COMMAND "${DPKG_DEB}" --info "${paket}" RESULT_VARIABLE rc OUTPUT_VARIABLE info ERROR_VARIABLE info)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb --info failed (${rc}):\n${info}")
endif()
foreach(muster "\n Package: fotoschliff\n" "\n Version: ${VERSION}\n" "\n Architecture: ${arch}\n"
               "\n Section: graphics\n" "\n Maintainer: [^\n<]+ <[^\n@>]+@[^\n>]+>\n"
               "\n Description: [^\n]+\n(  [^\n]+\n)+  \\.\n  [^\n]+\n"
               "\n Depends: [^\n]*libqt6sql6-sqlite" "\n Depends: [^\n]*fonts-dejavu-extra"
               "\n Depends: [^\n]*libqt6widgets6 \\(>= " "\n Depends: [^\n]*libexiv2-[0-9]+ \\(>= "
               "\n Recommends: [^\n]*qt6-translations-l10n")
  if(NOT info MATCHES "${muster}")
    string(STRIP "${muster}" gesucht)
    fehler_melden("dpkg-deb --info shows no \"${gesucht}\"")
  endif()
endforeach()

# The listing: the files of an installation under /usr, owned by root, and folders only
# the installation makes.
execute_process(COMMAND "${DPKG_DEB}" --contents "${paket}" RESULT_VARIABLE rc OUTPUT_VARIABLE inhalt ERROR_VARIABLE inhalt)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb --contents failed (${rc}):\n${inhalt}")
endif()
string(REPLACE "\n" ";" zeilen "${inhalt}")
set(gelistet)
foreach(zeile IN LISTS zeilen)
  if(zeile STREQUAL "")
    continue()
  endif()
  if(NOT zeile MATCHES "^([-d][-rwx]+) ([^ ]+) +[0-9]+ [0-9-]+ [0-9:]+ \\./(.*)$")
    fehler_melden("dpkg-deb --contents: cannot read \"${zeile}\"")
    continue()
  endif()
  set(rechte "${CMAKE_MATCH_1}")
  set(besitzer "${CMAKE_MATCH_2}")
  set(pfad "${CMAKE_MATCH_3}")
  if(rechte MATCHES "^d")
    set(soll "drwxr-xr-x")
  elseif(pfad STREQUAL "usr/bin/fotoschliff")
    set(soll "-rwxr-xr-x")
  else()
    set(soll "-rw-r--r--")
  endif()
  if(NOT rechte STREQUAL soll OR NOT besitzer STREQUAL "root/root")
    fehler_melden("dpkg-deb --contents: ${pfad} is ${rechte} ${besitzer}, not ${soll} root/root")
  endif()
  if(NOT pfad MATCHES "^usr/")
    fehler_melden("dpkg-deb --contents: ${pfad} lies outside /usr")
  elseif(NOT rechte MATCHES "^d")
    string(REGEX REPLACE "^usr/" "" pfad "${pfad}")
    list(APPEND gelistet "${pfad}")
  endif()
endforeach()

# Unpacked, the package is an installation under /usr like any other.
set(baum "${ZIEL}/ausgepackt")
set(wurzel "${baum}/usr")
execute_process(COMMAND "${DPKG_DEB}" -x "${paket}" "${baum}" RESULT_VARIABLE rc OUTPUT_VARIABLE aus ERROR_VARIABLE aus)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -x failed (${rc}):\n${aus}")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/baum_pruefen.cmake)
list(SORT gelistet)
list(SORT erwartet_relativ)
if(NOT gelistet STREQUAL erwartet_relativ)
  fehler_melden("dpkg-deb --contents lists\n    ${gelistet}\n  instead of\n    ${erwartet_relativ}")
endif()

# The program is shipped without its symbol table.
set(programm "${wurzel}/bin/fotoschliff")
if(EXISTS "${programm}")
  execute_process(COMMAND "${READELF}" -S --wide "${programm}" RESULT_VARIABLE rc OUTPUT_VARIABLE abschnitte ERROR_VARIABLE abschnitte)
  if(NOT rc EQUAL 0 OR abschnitte MATCHES "\\.symtab|\\.debug_")
    fehler_melden("${programm} is not stripped (readelf -S, ${rc}):\n${abschnitte}")
  endif()

  # Started from the unpacked copy, it finds its libraries, tells its version and ends;
  # the offscreen platform keeps a window off the screen should it open one after all.
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen "HOME=${ZIEL}" "${programm}" --version
                  TIMEOUT 60 RESULT_VARIABLE rc OUTPUT_VARIABLE aus ERROR_VARIABLE fehlerausgabe)
  if(NOT rc STREQUAL "0" OR NOT aus STREQUAL "Fotoschliff ${VERSION}\n")
    fehler_melden("${programm} --version ended with ${rc} and wrote \"${aus}\" ${fehlerausgabe}")
  endif()
endif()

# Debian's own checker: no errors and no warnings (information tags are left as they are).
execute_process(COMMAND "${LINTIAN}" --fail-on error,warning "${paket}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE aus ERROR_VARIABLE aus)
if(NOT rc EQUAL 0)
  fehler_melden("lintian (${rc}):\n${aus}")
endif()

# A failed package stays for a look.
if(fehler)
  message(FATAL_ERROR "Package check failed (${paket}):\n${fehler}")
endif()
file(REMOVE_RECURSE "${ZIEL}")
message(STATUS "Package built and checked: fotoschliff_${VERSION}_${arch}.deb")
