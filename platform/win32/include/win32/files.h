// Files the programs open by name: regular files only, opened without ever
// waiting on a pipe or a device, read with a bound, and replaced only where
// writing in place would be allowed.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace win32 {

struct FileInternals;

// Why a file was not opened.
enum class FileRefusal {
    None,
    System,    // the system refused; Error() holds its errno
    Folder,    // a folder (or a link to one); Error() is EISDIR
    NotAFile,  // a pipe, socket or device (or a link to one); Error() is EINVAL
};

// A regular file opened by name. Before opening, the path (followed through
// symbolic links) must name a regular file, or nothing when flags hold
// O_CREAT; it is opened without waiting (a pipe swapped in meanwhile cannot
// hold it) and checked again once open. The descriptor then blocks as usual
// and is closed on exec and with the object.
class RegularFile {
public:
    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // flags as open(2) takes them (O_RDONLY, O_WRONLY or O_RDWR, with
    // O_CREAT, O_TRUNC, O_EXCL); mode for a file created. False when it is
    // refused: Refusal() and Error() say why.
    bool Open(const std::string& path, int flags, mode_t mode = 0666);
    // Up to capacity bytes: the count read, 0 at the end of the file, -1 with
    // Error() set when the file cannot be read.
    long Read(char* buffer, size_t capacity);
    // Writes all of bytes; false with Error() set when they cannot be.
    bool Write(const char* bytes, size_t count);
    void Close();
    // Hands the descriptor over: the object no longer closes it.
    int Release();

    bool IsOpen() const { return m_fd >= 0; }
    FileRefusal Refusal() const { return m_refusal; }
    int Error() const { return m_error; }

private:
    friend class ReplacementFile;
    friend struct FileInternals;
    int Descriptor() const { return m_fd; }
    void Refuse(FileRefusal refusal, int error);

    int m_fd = -1;
    FileRefusal m_refusal = FileRefusal::None;
    int m_error = 0;
};

// A file that takes the place of path once all of it is written: written
// beside path under a name of its own and renamed over it by Commit, so that
// a failed write never damages what was there. Open refuses what writing in
// place would refuse, before anything is written: a folder (Folder), a pipe,
// socket or device (NotAFile; never opened, so nothing waits on it), and an
// existing file this user may not write (System with its errno), which the
// rename would otherwise replace: the user's own read-only file, another
// user's file in a shared folder. A symbolic link at path stays: the file it
// points at is replaced, or made by Open when it does not exist yet. A
// replaced file keeps its permissions; a new one gets those of a new file.
class ReplacementFile {
public:
    ReplacementFile() = default;
    // Abandons a file that was not committed.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool Open(const std::string& path);
    // Writes all of bytes; false with Error() set when they cannot be.
    bool Write(const char* bytes, size_t count);
    // Puts the written file in path's place once it is on the disk. False with
    // Error() set when it cannot be: path is then left as it was.
    bool Commit();
    FileRefusal Refusal() const { return m_refusal; }
    int Error() const { return m_error; }

private:
    friend struct FileInternals;
    // The new file's descriptor, for writers of their own; -1 when not open.
    int Descriptor() const { return m_file.Descriptor(); }
    // Leaves path as it was: the new file, and a file Open made for a link,
    // are removed.
    void Abandon();
    bool Fail(FileRefusal refusal, int error);

    RegularFile m_file;
    std::string m_target;      // where the file goes: path, or the file its link points at
    std::string m_temporary;   // the file being written
    bool m_madeTarget = false; // Open made the file of a link to nothing
    bool m_exists = false;
    mode_t m_mode = 0;
    FileRefusal m_refusal = FileRefusal::None;
    int m_error = 0;
};

// The first bytes of the regular file at path, at most limit of them; the
// rest is not read. False (out empty) when the file is refused or cannot be
// read; *complete, when given, tells whether the whole file was read.
bool ReadFileHead(const std::string& path, size_t limit, std::string* out, bool* complete = nullptr);

}  // namespace win32
