# The distribution folder of a Windows tree: exactly the files that users
# get (every suite_ship file, the installer's list and the agreements), and
# for the i686 tree the zip of it. The list is made from the template
# nistrel/nistrel.ini.in: a shipped file that the template does not name is
# added to its sections there, so a new file is named in one place, its
# suite_ship call.
set(SUITE_VERSION 6.01)

# The file name a shipped path will have (a target's file is named after it).
function(suite_ship_name path out)
  if(path MATCHES "^\\$<TARGET_FILE:([^>]+)>$")
    set(${out} "${CMAKE_MATCH_1}${CMAKE_EXECUTABLE_SUFFIX}" PARENT_SCOPE)
  else()
    get_filename_component(name "${path}" NAME)
    set(${out} "${name}" PARENT_SCOPE)
  endif()
endfunction()

function(suite_distribution)
  set(dist ${CMAKE_BINARY_DIR}/distribution)
  set(text ${PROJECT_SOURCE_DIR}/cmake/WindowsText.cmake)
  file(MAKE_DIRECTORY ${dist})
  # The list file and the agreements are shipped as the installer's own files.
  get_property(files GLOBAL PROPERTY SUITE_SHIP_FILES)
  get_property(sections GLOBAL PROPERTY SUITE_SHIP_SECTIONS)
  get_property(depends GLOBAL PROPERTY SUITE_SHIP_DEPENDS)

  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/nistrel/nistrel.ini.in)
  file(READ ${PROJECT_SOURCE_DIR}/nistrel/nistrel.ini.in list)
  string(REGEX REPLACE "(^|\n);;[^\n]*" "" list "${list}")  # the template's own notes
  string(REGEX REPLACE "^\n+" "" list "${list}")
  string(TOLOWER "${list}" lowered)
  set(names nistrel.ini licence_ja.txt licence_en.txt)
  set(outputs ${dist}/nistrel.ini ${dist}/licence_ja.txt ${dist}/licence_en.txt)
  list(LENGTH files count)
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      list(GET files ${i} path)
      list(GET sections ${i} into)
      suite_ship_name("${path}" name)
      # XP's compressed folders read a zip entry's name in the OEM code page
      # (932 on a Japanese system, 437 on an English one) and the list names
      # the file for every system: only a name in printable ASCII is the same
      # everywhere.
      if(NOT name MATCHES "^[ -~]+$")
        message(FATAL_ERROR "${path} is shipped as ${name}: a shipped file's name must be ASCII")
      endif()
      string(TOLOWER "${name}" lname)
      if(lname IN_LIST names)
        message(FATAL_ERROR "${name} is shipped twice")
      endif()
      list(APPEND names ${lname})
      add_custom_command(OUTPUT ${dist}/${name}
                         COMMAND ${CMAKE_COMMAND} -E copy_if_different ${path} ${dist}/${name}
                         DEPENDS ${path} ${depends} VERBATIM)
      list(APPEND outputs ${dist}/${name})
      # Named by the template: it stays where the template has it.
      string(FIND "${lowered}" "=${lname}\n" at)
      if(at GREATER -1)
        continue()
      endif()
      string(REPLACE "," ";" into "${into}")
      foreach(section ${into})
        string(APPEND added_${section} "${name};")
      endforeach()
    endforeach()
  endif()
  # Every file the template names must be shipped.
  string(REGEX MATCHALL "\nFile[0-9]+=[^\n]+" named "${list}")
  foreach(entry ${named})
    string(REGEX REPLACE "^\nFile[0-9]+=" "" name "${entry}")
    string(TOLOWER "${name}" lname)
    if(NOT lname IN_LIST names)
      message(FATAL_ERROR "nistrel/nistrel.ini.in names ${name}, which nothing ships (suite_ship)")
    endif()
  endforeach()
  # @Section:n@ becomes File n, File n+1 ... of the files added there.
  string(REGEX MATCHALL "@[A-Za-z_]+:[0-9]+@" marks "${list}")
  foreach(mark ${marks})
    string(REGEX REPLACE "^@([A-Za-z_]+):([0-9]+)@$" "\\1" section "${mark}")
    string(REGEX REPLACE "^@([A-Za-z_]+):([0-9]+)@$" "\\2" n "${mark}")
    set(lines "")
    foreach(name ${added_${section}})
      string(APPEND lines "File${n}=${name}\n")
      math(EXPR n "${n} + 1")
    endforeach()
    string(REPLACE "${mark}\n" "${lines}" list "${list}")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/nistrel.ini.utf8 CONTENT "${list}" @ONLY)

  # In UTF-16 with its byte-order mark and Windows line ends: the profile
  # functions read such a file as Unicode whatever the system's code page,
  # so the Japanese shortcut names and every file name read the same on a
  # Japanese and on an English system.
  add_custom_command(OUTPUT ${dist}/nistrel.ini
                     COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_BINARY_DIR}/nistrel.ini.utf8 -DOUT=${dist}/nistrel.ini
                             -DCODEPAGE=UTF-16LE -DBOM=ON -P ${text}
                     DEPENDS ${CMAKE_BINARY_DIR}/nistrel.ini.utf8 ${text} VERBATIM)
  foreach(lang ja en)
    set(cp CP932)
    if(lang STREQUAL en)
      set(cp CP1252)
    endif()
    add_custom_command(OUTPUT ${dist}/licence_${lang}.txt
                       COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/nistrel/licence_${lang}.txt
                               -DOUT=${dist}/licence_${lang}.txt -DCODEPAGE=${cp} -P ${text}
                       DEPENDS ${PROJECT_SOURCE_DIR}/nistrel/licence_${lang}.txt ${text} VERBATIM)
  endforeach()

  # Nothing else stays in the folder (a file dropped from the list goes).
  set(stamp ${CMAKE_BINARY_DIR}/distribution.stamp)
  add_custom_command(OUTPUT ${stamp}
                     COMMAND ${CMAKE_COMMAND} -DDIR=${dist} "-DKEEP=${names}"
                             -P ${PROJECT_SOURCE_DIR}/cmake/PruneFolder.cmake
                     COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
                     DEPENDS ${outputs} VERBATIM)
  set(made ${stamp})
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL i686)
    set(zip ${CMAKE_BINARY_DIR}/Tolvane-${SUITE_VERSION}.zip)
    set(zipped "")
    foreach(o ${outputs})
      get_filename_component(n ${o} NAME)
      list(APPEND zipped ${n})
    endforeach()
    add_custom_command(OUTPUT ${zip}
                       COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
                       COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip -- ${zipped}
                       WORKING_DIRECTORY ${dist}
                       DEPENDS ${stamp} VERBATIM)
    list(APPEND made ${zip})
    # Every entry unpacks under its own name with XP's extractor, on a
    # Japanese and on an English system, and the zip holds the folder.
    add_test(NAME distribution_zip_names
             COMMAND ${CMAKE_COMMAND} -DZIP=${zip} -DDIR=${dist}
                     -P ${PROJECT_SOURCE_DIR}/nistrel/tests/zip_names.cmake)
  endif()
  add_custom_target(distribution ALL DEPENDS ${made})
  add_dependencies(programs distribution)
endfunction()
