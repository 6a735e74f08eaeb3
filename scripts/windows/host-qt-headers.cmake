# The source check of scripts/check-windows includes this after project(). It compiles for
# Windows against the build machine's Qt, whose libraries are Linux ones, and links nothing.

# A program is "linked" as an empty file, so that whatever waits for one can go on.
set(CMAKE_CXX_LINK_EXECUTABLE "${CMAKE_COMMAND} -E touch <TARGET>")

# CMake still wants an import library for every shared library a Windows program uses: once the
# project has found Qt, each of its libraries is named its own.
function(revlane_name_import_libraries)
  get_property(targets DIRECTORY "${CMAKE_SOURCE_DIR}" PROPERTY IMPORTED_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "SHARED_LIBRARY")
      continue()
    endif()
    get_target_property(configs ${target} IMPORTED_CONFIGURATIONS)
    foreach(config IN LISTS configs)
      get_target_property(location ${target} IMPORTED_LOCATION_${config})
      set_target_properties(${target} PROPERTIES IMPORTED_IMPLIB_${config} "${location}")
    endforeach()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL revlane_name_import_libraries)
