// The file-existence test of a form program.
#pragma once

#include <string>

namespace forms {

// True when a regular file is found at `path` (links are followed). No entry,
// a dangling link, a folder or a path through something that is not a folder
// give false. Any other failure of the search (a folder that cannot be
// searched, a link loop, an over-long name, an I/O error) throws RuntimeError.
bool FileExists(const std::string& path);

}  // namespace forms
