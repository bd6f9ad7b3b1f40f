// Reading a file whole, and replacing a file's contents so that a failed
// save never damages the file that was there.
#pragma once

#include <afx/cstring.h>
#include <win32/files.h>

#include <cstddef>
#include <string>

namespace meterfiles {

// A regular file read piece by piece, with the reasons for a message.
// Folders, devices and pipes are refused without being read.
class FileReader {
public:

    // Opens the file at path (a wide path, UTF-8 on disk); false with
    // *problem set when it is not a regular file or cannot be opened.
    bool Open(const CString& path, CString* problem);
    // Reads up to capacity bytes: the count read, 0 at the end of the file,
    // -1 with *problem set when the file cannot be read.
    long Read(char* buffer, size_t capacity, CString* problem);

private:
    win32::RegularFile m_file;
    std::string m_path;
};

// Writes bytes to a new file beside path, and only when all of them are on
// the disk puts it in path's place. A file already at path keeps its
// permissions; a symbolic link at path has its target replaced, or made when
// it does not exist yet. A file at path that this user may not write is
// refused, as writing it in place would be ("Permission denied"). On failure
// (no permission, disk full, a folder in the way...) the file at path is left
// as it was, nothing else is left behind, *problem says why and the result is
// false.
bool ReplaceFileContents(const CString& path, const std::string& bytes, CString* problem);

}  // namespace meterfiles
