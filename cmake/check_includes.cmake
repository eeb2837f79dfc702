# Run as `cmake -DSRC=<src folder> -P check_includes.cmake`: fails when a folder of the program includes a
# folder that comes after it in the order below. Code that must reach a later folder is handed a callback
# instead, so that each folder builds and tests with only those before it.
# The core's folders come first (domain has no database, module is the shared module the windows use);
# widgets, the windows' own helpers, stands on Qt alone: it includes none of the core either.
set(core domain store backup lists documents figures module)
set(order ${core} widgets editor safety editing browse commands output find app)
set(broken "")
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
# The printed page stands beside them: it includes only the core, and only output and app include it.
set(print_users output app)
foreach(f ${files})
  string(REGEX MATCH "^[^/]+" folder "${f}")
  list(FIND order "${folder}" rank)
  if(rank LESS 0 AND NOT folder STREQUAL "print")
    continue()
  endif()
  # Every spelling: spaces after the hash, a path through "..", a form's generated header (ui_X.h belongs
  # to the folder of X.ui).
  file(STRINGS ${SRC}/${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" path "${line}")
    string(REGEX REPLACE "^(\\.\\./)+" "" path "${path}")
    if(path MATCHES "^ui_([A-Za-z0-9_]+)\\.h$")
      file(GLOB form RELATIVE ${SRC} ${SRC}/*/${CMAKE_MATCH_1}.ui)
      set(path "${form}")
    endif()
    if(NOT path MATCHES "/")
      continue()
    endif()
    string(REGEX REPLACE "^([^/]+)/.*" "\\1" target "${path}")
    list(FIND order "${target}" target_rank)
    list(FIND print_users "${folder}" print_user)
    if(folder STREQUAL "widgets" AND NOT target STREQUAL "widgets")
      string(APPEND broken "  ${f}: ${line} (widgets stands on Qt alone)\n")
    elseif(folder STREQUAL "print")
      list(FIND core "${target}" core_rank)
      if(core_rank LESS 0 AND NOT target STREQUAL "print")
        string(APPEND broken "  ${f}: ${line}\n")
      endif()
    elseif(target STREQUAL "print" AND print_user LESS 0)
      string(APPEND broken "  ${f}: ${line}\n")
    elseif(target_rank GREATER rank)
      string(APPEND broken "  ${f}: ${line}\n")
    endif()
  endforeach()
endforeach()
if(broken)
  message(FATAL_ERROR "Includes must run domain <- store <- backup <- lists <- documents <- figures <- module <- widgets <- "
                      "editor <- safety <- editing <- browse <- commands <- output <- find <- app, and core <- print "
                      "<- output, app:\n${broken}")
endif()
