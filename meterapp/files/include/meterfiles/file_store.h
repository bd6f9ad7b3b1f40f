// Reading a file whole, and replacing a file's contents so that a failed
// save never damages the file that was there.
#pragma once

#include <afx/cstring.h>

#include <cstddef>
#include <string>

namespace meterfiles {

enum class EFileRead {
    Read,      // *bytes holds the whole file
    TooLarge,  // the file holds more than maxBytes
    Failed,    // not a regular file, or it cannot be opened or read: *problem says why
};

// Reads the regular file at path (a wide path, UTF-8 on disk). Folders,
// devices and pipes are refused without being opened for reading.
EFileRead ReadWholeFile(const CString& path, size_t maxBytes, std::string* bytes, CString* problem);

// Writes bytes to a new file beside path, and only when all of them are on
// the disk puts it in path's place. A file already at path keeps its
// permissions; a symbolic link at path has its target replaced. On failure
// (no permission, disk full, a folder in the way...) the file at path is left
// as it was, nothing else is left behind, *problem says why and the result is
// false.
bool ReplaceFileContents(const CString& path, const std::string& bytes, CString* problem);

}  // namespace meterfiles
