#pragma once
// The picture files of meterapp/res/pictures as the build put them into the
// program, so that nothing is read from disk at run time.

#include <cstddef>
#include <string_view>

namespace art {

struct ResourceFile {
  const char* name;  // the file's name without its folder, e.g. "meter-face.svg"
  const unsigned char* data;
  size_t size;
};

// Every built-in file, sorted by name.
extern const ResourceFile kResourceFiles[];
extern const size_t kResourceFileCount;

// The bytes of the built-in file `name`; empty when there is no such file.
std::string_view FindResourceFile(std::string_view name);

}  // namespace art
