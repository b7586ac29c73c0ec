# Turns a CSV data file into C++ initialiser rows, one `{v1, v2, ...},` line per data row.
# Values are copied as text, so the compiled numbers are exactly those of the file.
# Usage: cmake -DINPUT=file.csv -DOUTPUT=file.inc -P csv_to_table.cmake
file(STRINGS "${INPUT}" lines)
list(POP_FRONT lines header)
set(out "// Generated from ${INPUT} by csv_to_table.cmake; columns: ${header}\n")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  endif()
  string(REPLACE "," ", " row "${line}")
  string(APPEND out "{${row}},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "${out}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
