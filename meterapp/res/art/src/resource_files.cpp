#include "art/resource_files.h"

namespace art {

std::string_view FindResourceFile(std::string_view name) {
  for (size_t i = 0; i < kResourceFileCount; ++i) {
    const ResourceFile& file = kResourceFiles[i];
    if (name == file.name) return {reinterpret_cast<const char*>(file.data), file.size};
  }
  return {};
}

}  // namespace art
