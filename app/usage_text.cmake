# cmake -DREADME=README.md -DVERSION=x.y.z -DOUTPUT=usage_text.inc -DROWS_OUTPUT=key_rows.inc
# -P app/usage_text.cmake: the program's --help and --version texts as C++ string constants,
# and the rows of the window's table of keys, all taken from the README's table, so the usage,
# the window, the manual page and the README list the same keys.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/../docs/key_table.cmake)
read_key_table("${README}" inputs actions)
# Two columns for an 80-column terminal: the input, then its action wrapped beside it; an
# input too long for its column puts the action on the next line.
set(inputColumn 26)
set(lineWidth 79)
string(REPEAT " " ${inputColumn} indent)
set(indent "  ${indent}  ")
string(LENGTH "${indent}" indentWidth)
set(rows "")
set(keyRows "")
foreach(input action IN ZIP_LISTS inputs actions)
  # Plain text for any terminal: no Markdown code marks, an ASCII minus.
  # A semicolon stays encoded until the action is split into words.
  key_table_cell(input)
  foreach(cell input action)
    string(REPLACE "`" "" ${cell} "${${cell}}")
    string(REPLACE "−" "-" ${cell} "${${cell}}")
  endforeach()
  set(plainAction "${action}")
  key_table_cell(plainAction)
  string(APPEND keyRows "    {R\"key(${input})key\", R\"key(${plainAction})key\"},\n")
  string(LENGTH "${input}" length)
  if(length GREATER inputColumn)
    set(line "  ${input}")
    string(APPEND rows "${line}\n")
    set(line "${indent}")
  else()
    math(EXPR padding "${inputColumn} - ${length} + 2")
    string(REPEAT " " ${padding} spaces)
    set(line "  ${input}${spaces}")
  endif()
  set(lineHasWord FALSE)
  string(REPLACE " " ";" words "${action}")
  foreach(word IN LISTS words)
    key_table_cell(word)
    string(LENGTH "${line} ${word}" candidate)
    if(lineHasWord AND candidate GREATER lineWidth)
      string(APPEND rows "${line}\n")
      set(line "${indent}${word}")
    elseif(lineHasWord)
      set(line "${line} ${word}")
    else()
      set(line "${line}${word}")
    endif()
    set(lineHasWord TRUE)
  endforeach()
  string(APPEND rows "${line}\n")
endforeach()
# Each file is rewritten only when it changes, so a README edit elsewhere rebuilds nothing.
function(write_if_changed path text)
  file(WRITE "${path}.new" "${text}")
  configure_file("${path}.new" "${path}" COPYONLY)
  file(REMOVE "${path}.new")
endfunction()
set(madeFrom "// Made from the README's table of keys at build time; edit the README, not this.\n")
write_if_changed("${OUTPUT}" "${madeFrom}\
constexpr const char* programVersion = \"${VERSION}\";
constexpr const char* keyTableText = R\"keys(${rows})keys\";
")
# Included after render/text_layout.h, which defines KeyTable.
write_if_changed("${ROWS_OUTPUT}" "${madeFrom}const KeyTable keyTableRows = {\n${keyRows}};\n")
