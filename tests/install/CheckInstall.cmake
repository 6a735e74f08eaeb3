# Installs the build into an empty prefix as a packager would, and checks what a desktop finds
# there: the layout, the icon's sizes, that the menu entry points at the installed program and
# icon, the validators' verdict on the menu and software centre entries, and the command line.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -DVERSION=... [-DCONFIG=...] -P CheckInstall.cmake
include(${CMAKE_CURRENT_LIST_DIR}/Layout.cmake)

file(REMOVE_RECURSE "${PREFIX}")
set(config)
if(CONFIG)
  set(config --config "${CONFIG}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}" ${config}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

revlane_installed_files(${APP_ID} expected)
file(GLOB_RECURSE present RELATIVE "${PREFIX}" "${PREFIX}/*")
revlane_compare_files("${expected}" "${present}" "The installation")

# Each picture is as large as the folder it lies in says.
foreach(size IN LISTS REVLANE_ICON_SIZES)
  set(png "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
  if(NOT EXISTS "${png}")
    continue()
  endif()
  file(READ "${png}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
    revlane_fail("${png}: not a ${size} x ${size} PNG (${signature}, ${width} x ${height})")
  endif()
endforeach()
set(svg "${PREFIX}/share/icons/hicolor/scalable/apps/${APP_ID}.svg")
if(EXISTS "${svg}")
  file(READ "${svg}" drawing)
  if(NOT drawing MATCHES "<svg [^>]*viewBox=\"0 0 [0-9]+ [0-9]+\"" OR NOT drawing MATCHES "<path ")
    revlane_fail("${svg}: no SVG drawing with a view box")
  endif()
endif()

# The menu entry starts the installed program and shows the installed icon.
set(desktop "${PREFIX}/share/applications/${APP_ID}.desktop")
file(STRINGS "${desktop}" exec REGEX "^Exec=")
file(STRINGS "${desktop}" icon REGEX "^Icon=")
string(REGEX REPLACE "^Exec=([^ ]*).*" "\\1" exec "${exec}")
string(REGEX REPLACE "^Icon=" "" icon "${icon}")
if(NOT EXISTS "${PREFIX}/bin/${exec}")
  revlane_fail("The menu entry starts \"${exec}\", which is not in bin/")
endif()
if(NOT EXISTS "${PREFIX}/share/icons/hicolor/scalable/apps/${icon}.svg")
  revlane_fail("The menu entry shows icon \"${icon}\", which is not in the icon theme")
endif()

# The validators that software centres and desktops go by, warnings counting as faults.
find_program(desktop_file_validate desktop-file-validate)
find_program(appstreamcli appstreamcli)
if(NOT desktop_file_validate OR NOT appstreamcli)
  message(FATAL_ERROR "desktop-file-validate or appstreamcli is missing: scripts/ensure-deps installs both")
endif()
foreach(check
    "${desktop_file_validate};${desktop}"
    "${appstreamcli};validate;--no-net;--strict;${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml"
    "${appstreamcli};validate-tree;--no-net;--strict;${PREFIX}")
  execute_process(COMMAND ${check} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(STRIP "${out}" out)
  # desktop-file-validate says nothing at all when it finds nothing.
  if(NOT rc EQUAL 0 OR (check MATCHES "desktop-file-validate" AND NOT out STREQUAL ""))
    list(JOIN check " " command)
    revlane_fail("${command}: exit ${rc}\n${out}")
  endif()
endforeach()

# The command line: exit code, and what is printed where. Help, the version and a mistyped
# option are answered without a display; Qt's own options still reach Qt.
set(no_display --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM)
set(offscreen QT_QPA_PLATFORM=offscreen)
foreach(case
    "no_display|--version|0|^Revlane ${VERSION}\n$|^$"
    "no_display|-v|0|^Revlane ${VERSION}\n$|^$"
    "no_display|--help|0|Usage: .*--version|^$"
    "no_display|--bogus|1|^$|^Revlane: Unknown option 'bogus'"
    "offscreen|-style fusion --version|0|^Revlane ${VERSION}\n$|^$"
    "offscreen|--bogus -style=fusion|1|^$|^Revlane: Unknown option 'bogus'")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 env)
  list(GET case 1 options)
  list(GET case 2 want_rc)
  list(GET case 3 want_out)
  list(GET case 4 want_err)
  separate_arguments(options UNIX_COMMAND "${options}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${${env}} "${PREFIX}/bin/revlane" ${options}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # Qt may note a missing XDG_RUNTIME_DIR on the standard error: not the program's message.
  string(REGEX REPLACE "QStandardPaths: [^\n]*\n" "" err "${err}")
  if(NOT rc EQUAL want_rc OR NOT out MATCHES "${want_out}" OR NOT err MATCHES "${want_err}")
    revlane_fail("revlane ${options}: exit ${rc}, printed \"${out}\" and on the standard error \"${err}\"")
  endif()
endforeach()
