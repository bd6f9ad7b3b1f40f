# cmake -DOUTPUT=<file.cpp> -DFILES="<path>;<path>..." -P embed.cmake
# Writes a C++ source that holds each file's bytes under its file name, for
# resource_files.cpp to look up: the program carries its pictures inside it.
set(body "// Made by meterapp/res/art/embed.cmake from the files named below.\n#include \"art/resource_files.h\"\n\nnamespace art {\nnamespace {\n\n")
set(table "")
set(index 0)
foreach(path IN LISTS FILES)
  get_filename_component(name "${path}" NAME)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  # A closing zero keeps an empty file a valid array; it is not counted.
  string(APPEND body "// ${name}\nconst unsigned char kFile${index}[] = {\n${bytes}0x00};\n\n")
  string(APPEND table "    {\"${name}\", kFile${index}, sizeof(kFile${index}) - 1},\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND body "}  // namespace\n\nconst ResourceFile kResourceFiles[] = {\n${table}};\nconst size_t kResourceFileCount = ${index};\n\n}  // namespace art\n")
file(WRITE "${OUTPUT}.new" "${body}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
