# Installs the built program into a scratch DESTDIR, as a packager would, and
# checks what a desktop reads from it.
#   -D BUILD=<build folder> -D ZIEL=<scratch folder> -D PREFIX=<install prefix> -D ID=<desktop id>
#   -D DESKTOP_FILE_VALIDATE=<program> -D APPSTREAMCLI=<program>
cmake_minimum_required(VERSION 3.25)

set(fehler "")
macro(fehler_melden text)
  string(APPEND fehler "  ${text}\n")
endmacro()

file(REMOVE_RECURSE "${ZIEL}")
file(MAKE_DIRECTORY "${ZIEL}")
set(ENV{DESTDIR} "${ZIEL}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" RESULT_VARIABLE rc OUTPUT_VARIABLE aus ERROR_VARIABLE aus)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${aus}")
endif()
set(baum "${ZIEL}")
set(wurzel "${ZIEL}${PREFIX}")
include(${CMAKE_CURRENT_LIST_DIR}/baum_pruefen.cmake)

file(REMOVE_RECURSE "${ZIEL}")
if(fehler)
  message(FATAL_ERROR "Installation check failed:\n${fehler}")
endif()
message(STATUS "Installed and validated: ${wurzel}")
