# Writes OUTPUT, a C++ source holding the bytes of every INPUTS file, in order, as one array.
# The numbered string table is parsed from these bytes at run time.
set(all "")
foreach(input IN LISTS INPUTS)
  file(READ "${input}" hex HEX)
  string(APPEND all "${hex}")
  string(APPEND all "0a")  # a file without a last line end still ends its last entry
endforeach()
string(LENGTH "${all}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," body "${all}")
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n" body "${body}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from the string table's data files; do not edit.\n"
  "#include <cstddef>\n"
  "namespace revlane::resources {\n"
  "extern const char kStringTableData[] = {\n${body}'\\0'};\n"
  "extern const std::size_t kStringTableSize = ${size};\n"
  "}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
