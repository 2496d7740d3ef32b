# cmake -DSOURCE=docs/geosandbox.6.in -DREADME=README.md -DVERSION=x.y.z -DOUTPUT=geosandbox.6
# -P docs/man_page.cmake: the manual page with the README's table of keys and mouse as a list
# of tagged paragraphs, one row of the table each.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/key_table.cmake)
read_key_table("${README}" inputs actions)
set(keys "")
foreach(input action IN ZIP_LISTS inputs actions)
  foreach(cell input action)
    key_table_cell(${cell})
    # Roff's own escape and control characters, and the one non-ASCII sign the table uses.
    string(REPLACE "\\" "\\e" ${cell} "${${cell}}")
    string(REPLACE "−" "\\-" ${cell} "${${cell}}")
    string(REGEX REPLACE "^([.'])" "\\\\&\\1" ${cell} "${${cell}}")
  endforeach()
  string(APPEND keys ".TP\n.B ${input}\n${action}\n")
endforeach()
string(REGEX REPLACE "\n$" "" keys "${keys}")
file(READ "${SOURCE}" page)
string(REPLACE "@KEYS@" "${keys}" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")
