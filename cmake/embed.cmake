# Turns one data file into a C++ source defining `extern const std::string_view <SYMBOL>_json`.
file(READ ${INPUT} content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
string(LENGTH "${content}" hex_length)
math(EXPR length "${hex_length} / 2")
file(WRITE ${OUTPUT}
  "#include <string_view>\n"
  "namespace zk::embedded {\n"
  "static const char ${SYMBOL}_bytes[] = {${bytes}'\\0'};\n"
  "extern const std::string_view ${SYMBOL}_json(${SYMBOL}_bytes, ${length});\n"
  "}\n")
