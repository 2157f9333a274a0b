cmake_minimum_required(VERSION 3.25)
# cmake -DDIR=folder "-DKEEP=name;name" -P PruneFolder.cmake: removes every
# file of the folder whose name (without case) is not kept.
file(GLOB present RELATIVE "${DIR}" "${DIR}/*")
foreach(name ${present})
  string(TOLOWER "${name}" lname)
  if(NOT lname IN_LIST KEEP)
    file(REMOVE_RECURSE "${DIR}/${name}")
  endif()
endforeach()
