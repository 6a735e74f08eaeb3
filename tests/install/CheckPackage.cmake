# Makes the packages of the build as `cpack -G DEB` and `cpack -G TGZ` would, into an empty
# folder, and checks them: the .deb holds the installation under /usr with the program
# executable and depends on what dpkg-shlibdeps found; the archive holds the same tree.
#   cmake -DBUILD_DIR=... -DOUT_DIR=... -DAPP_ID=... -DVERSION=... -DCPACK=... -P CheckPackage.cmake
include(${CMAKE_CURRENT_LIST_DIR}/Layout.cmake)

find_program(dpkg_deb dpkg-deb)
find_program(dpkg_shlibdeps dpkg-shlibdeps)
find_program(file_command file)
if(NOT dpkg_deb OR NOT dpkg_shlibdeps OR NOT file_command)
  message(FATAL_ERROR "dpkg-deb, dpkg-shlibdeps or file is missing: scripts/ensure-deps installs them")
endif()

file(REMOVE_RECURSE "${OUT_DIR}")
execute_process(COMMAND "${CPACK}" -G "DEB;TGZ" -B "${OUT_DIR}" --config "${BUILD_DIR}/CPackConfig.cmake"
                WORKING_DIRECTORY "${BUILD_DIR}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${rc}\n${out}")
endif()
revlane_installed_files(${APP_ID} expected)

file(GLOB deb "${OUT_DIR}/revlane_${VERSION}_*.deb")
list(LENGTH deb debs)
if(NOT debs EQUAL 1)
  message(FATAL_ERROR "cpack made ${debs} files named revlane_${VERSION}_*.deb:\n${out}")
endif()
execute_process(COMMAND "${dpkg_deb}" -c "${deb}" OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" listing "${listing}")
set(present)
foreach(line IN LISTS listing)
  # "-rwxr-xr-x root/root 123 2026-12-06 12:00 ./usr/bin/revlane": regular files only.
  if(line MATCHES "^-([rwx-]+) +([^ ]+) .* \\./usr/(.*)$")
    list(APPEND present "${CMAKE_MATCH_3}")
    if(CMAKE_MATCH_3 STREQUAL "bin/revlane" AND NOT CMAKE_MATCH_1 STREQUAL "rwxr-xr-x")
      revlane_fail("The .deb installs /usr/bin/revlane as -${CMAKE_MATCH_1}, not executable by all")
    endif()
    if(NOT CMAKE_MATCH_2 STREQUAL "root/root")
      revlane_fail("The .deb gives /usr/${CMAKE_MATCH_3} to ${CMAKE_MATCH_2}, not root")
    endif()
  endif()
endforeach()
revlane_compare_files("${expected}" "${present}" "The .deb under /usr")

execute_process(COMMAND "${dpkg_deb}" -f "${deb}" Package Version Depends
                OUTPUT_VARIABLE control COMMAND_ERROR_IS_FATAL ANY)
if(NOT control MATCHES "Package: revlane\n" OR NOT control MATCHES "Version: ${VERSION}\n"
   OR NOT control MATCHES "Depends: [^\n]*libqt6widgets6" OR NOT control MATCHES "Depends: [^\n]*libc6")
  revlane_fail("The .deb's control fields lack the name, version or the libraries' packages:\n${control}")
endif()

file(GLOB archive "${OUT_DIR}/revlane-${VERSION}-*.tar.gz")
list(LENGTH archive archives)
if(NOT archives EQUAL 1)
  message(FATAL_ERROR "cpack made ${archives} files named revlane-${VERSION}-*.tar.gz:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf "${archive}" OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(top "${archive}" NAME)
string(REGEX REPLACE "\\.tar\\.gz$" "" top "${top}")
string(REPLACE "\n" ";" listing "${listing}")
set(present)
foreach(path IN LISTS listing)
  if(path STREQUAL "" OR path MATCHES "/$")
    continue()  # folders
  elseif(path MATCHES "^${top}/(.*)$")
    list(APPEND present "${CMAKE_MATCH_1}")
  else()
    revlane_fail("The archive has ${path} outside its folder ${top}/")
  endif()
endforeach()
revlane_compare_files("${expected}" "${present}" "The archive")
