# cmake -DREADME=README.md -DVERSION=x.y.z -DOUTPUT=usage_text.inc -P app/usage_text.cmake:
# the program's --help and --version texts as C++ string constants, the keys taken from the
# README's table, so the usage, the manual page and the README list the same keys.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/../docs/key_table.cmake)
read_key_table("${README}" inputs actions)
set(width 0)
foreach(input IN LISTS inputs)
  string(LENGTH "${input}" length)
  if(length GREATER width)
    set(width ${length})
  endif()
endforeach()
set(rows "")
foreach(input action IN ZIP_LISTS inputs actions)
  # Plain text for any terminal: no Markdown code marks, an ASCII minus.
  foreach(cell input action)
    key_table_cell(${cell})
    string(REPLACE "`" "" ${cell} "${${cell}}")
    string(REPLACE "−" "-" ${cell} "${${cell}}")
  endforeach()
  string(LENGTH "${input}" length)
  math(EXPR padding "${width} - ${length} + 2")
  string(REPEAT " " ${padding} spaces)
  string(APPEND rows "  ${input}${spaces}${action}\n")
endforeach()
file(WRITE "${OUTPUT}.new"
  "// Made from the README's table of keys at build time; edit the README, not this.\n"
  "constexpr const char* programVersion = \"${VERSION}\";\n"
  "constexpr const char* keyTableText = R\"keys(${rows})keys\";\n")
# Rewritten only when it changes, so a README edit elsewhere rebuilds nothing.
configure_file("${OUTPUT}.new" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.new")
