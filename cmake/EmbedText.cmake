# Turns a text file into a C++ source that defines it as a string_view.
# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=Name -P EmbedText.cmake
file(READ "${INPUT}" CONTENT)
get_filename_component(NAME "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${NAME} at build time; edit that file instead.\n"
  "#include <string_view>\n"
  "extern const std::string_view ${SYMBOL};\n"
  "const std::string_view ${SYMBOL} = R\"qellres(${CONTENT})qellres\";\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
