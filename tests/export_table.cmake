# Checks PIXBASE.dll's export table against the ordinal table: every bound
# ordinal exported, no other, and no exported names.
#   cmake -DOBJDUMP=... -DLIBRARY=PIXBASE.dll -DTABLE=ordinals.tsv -P export_table.cmake
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump failed on ${LIBRARY}")
endif()

file(STRINGS ${TABLE} rows REGEX "^[0-9]")
set(expected "")
foreach(row IN LISTS rows)
  string(REPLACE "\t" ";" fields "${row}")
  list(GET fields 0 ordinal)
  list(GET fields 2 kind)
  if(kind STREQUAL "function" OR kind STREQUAL "data")
    list(APPEND expected ${ordinal})
  endif()
endforeach()

# The export address table: "\t[   n] +base[ ordinal] Export RVA ..." lines.
string(REGEX MATCH "Export Address Table -- Ordinal Base ([0-9]+)" base_line "${dump}")
set(base ${CMAKE_MATCH_1})
string(REGEX MATCHALL "\t\\[ *[0-9]+\\] \\+base\\[ *[0-9]+\\] [0-9a-f]+ Export RVA" entries "${dump}")
set(actual "")
foreach(entry IN LISTS entries)
  string(REGEX MATCH "\\+base\\[ *([0-9]+)\\] ([0-9a-f]+)" _ "${entry}")
  set(ordinal ${CMAKE_MATCH_1})
  set(address ${CMAKE_MATCH_2})  # if(MATCHES) below resets CMAKE_MATCH_n
  if(NOT address MATCHES "^0+$")
    list(APPEND actual ${ordinal})
  endif()
endforeach()
list(SORT expected COMPARE NATURAL)
list(SORT actual COMPARE NATURAL)
if(NOT expected STREQUAL actual)
  message(FATAL_ERROR "exported ordinals differ from the table\n  table:    ${expected}\n  exported: ${actual}")
endif()

# No names: the count of name pointers is zero and no name is listed.
string(REGEX MATCH "\\[Name Pointer/Ordinal\\] Table[ \t]+([0-9a-f]+)" _ "${dump}")
if(NOT CMAKE_MATCH_1 MATCHES "^0+$")
  message(FATAL_ERROR "the library exports names (count ${CMAKE_MATCH_1})")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(\t\\[[^\n]*\n)+" named "${dump}")
if(named)
  message(FATAL_ERROR "the library exports names:\n${named}")
endif()
list(LENGTH actual count)
message(STATUS "export table matches: ${count} ordinals, no names (ordinal base ${base})")
