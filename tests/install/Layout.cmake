# The files of an installation of Revlane, relative to its prefix, where a desktop looks for
# them: the program, its menu entry, its software centre entry, its manual page and its icon.
function(revlane_installed_files app_id out)
  set(files
    bin/revlane
    share/applications/${app_id}.desktop
    share/metainfo/${app_id}.metainfo.xml
    share/man/man1/revlane.1
    share/icons/hicolor/scalable/apps/${app_id}.svg
  )
  foreach(size IN LISTS REVLANE_ICON_SIZES)
    list(APPEND files share/icons/hicolor/${size}x${size}/apps/${app_id}.png)
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

set(REVLANE_ICON_SIZES 16 32 48 64 128 256)

# Fails the test, going on with the other checks so that one run names every fault.
function(revlane_fail)
  string(JOIN "" text ${ARGN})
  message(SEND_ERROR "${text}")
endfunction()

# Which listed paths are missing from `present`, and which present ones were not listed.
function(revlane_compare_files expected present what)
  set(missing ${expected})
  list(REMOVE_ITEM missing ${present})
  set(extra ${present})
  list(REMOVE_ITEM extra ${expected})
  list(JOIN missing ", " missing)
  list(JOIN extra ", " extra)
  if(missing)
    revlane_fail("${what} lacks: ${missing}")
  endif()
  if(extra)
    revlane_fail("${what} has files nobody asked for: ${extra}")
  endif()
endfunction()
