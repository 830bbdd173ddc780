# places_data.h in the build folder: places.sqlite of Firefox 3.0 and of Firefox 45 as the SQL
# that makes it (kFirefox3Places, kFirefox45Places), and the benchmarks' large history
# (kHistoryBulk), from the files beside this one, which the
# end-to-end scenarios read too. Adds the folder it is written in to target's include path.
function(olvex_places_data target)
  set(dir ${CMAKE_SOURCE_DIR}/tests/data/places)
  set(header "// Made by tests/data/places/places.cmake from the .sql files there.\n#pragma once\n")
  foreach(version 3 45)
    set(sql "")
    foreach(part firefox-${version}-tables pages firefox-${version}-pages)
      file(READ ${dir}/${part}.sql text)
      string(APPEND sql "${text}")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${dir}/${part}.sql)
    endforeach()
    string(APPEND header "inline const char* const kFirefox${version}Places = R\"places(${sql})places\";\n")
  endforeach()
  file(READ ${dir}/history-bulk.sql bulk)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${dir}/history-bulk.sql)
  string(APPEND header "inline const char* const kHistoryBulk = R\"places(${bulk})places\";\n")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/places_data/places_data.h "${header}")
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/places_data)
endfunction()
