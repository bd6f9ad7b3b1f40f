// Reading data files from disk, and replacing files so that a failed save
// leaves the old file as it was.
#include "meterfiles/data_file.h"
#include "meterfiles/file_store.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <win32/text.h>

#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using meterfiles::EDataFileRead;
using meterfiles::ReadDataFile;
using meterfiles::ReplaceFileContents;

class FileStore : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir.path() + "/" + name; }
    static CString Wide(const std::string& path) { return CString(path.c_str()); }

    static std::string Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static void Put(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Names in the folder, so that a test sees what a save left behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        DIR* d = opendir(dir.path().c_str());
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(d);
        std::sort(names.begin(), names.end());
        return names;
    }

    testutil::TempDir dir;
};

TEST_F(FileStore, ReplacesAFileKeepingItsPermissionsAndLeavesNothingElse)
{
    const std::string path = Path("data.txt");
    Put(path, "old contents that are longer than the new ones");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    CString problem;
    ASSERT_TRUE(ReplaceFileContents(Wide(path), "new", &problem)) << problem.GetString();
    EXPECT_EQ(Contents(path), "new");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(), std::vector<std::string> { "data.txt" });
}

TEST_F(FileStore, CreatesANewFileWithTheUsualPermissions)
{
    const mode_t old = umask(022);
    CString problem;
    const bool written = ReplaceFileContents(Wide(Path("new file.xls")), "a\tb\t\r\n", &problem);
    umask(old);
    ASSERT_TRUE(written) << problem.GetString();
    EXPECT_EQ(Contents(Path("new file.xls")), "a\tb\t\r\n");
    struct stat info {};
    ASSERT_EQ(stat(Path("new file.xls").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_F(FileStore, AFolderOrADeviceInTheWayIsReportedAndLeftAlone)
{
    ASSERT_EQ(mkdir(Path("folder.txt").c_str(), 0755), 0);
    Put(Path("folder.txt/inside"), "kept");
    CString problem;
    EXPECT_FALSE(ReplaceFileContents(Wide(Path("folder.txt")), "x", &problem));
    EXPECT_NE(problem.Find(L"folder"), -1) << problem.GetString();
    EXPECT_EQ(Contents(Path("folder.txt/inside")), "kept");

    problem.Empty();
    EXPECT_FALSE(ReplaceFileContents(L"/dev/null", "x", &problem));
    EXPECT_FALSE(problem.IsEmpty());
    struct stat info {};
    ASSERT_EQ(stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));

    problem.Empty();
    EXPECT_FALSE(ReplaceFileContents(Wide(Path("missing/folder/data.txt")), "x", &problem));
    EXPECT_FALSE(problem.IsEmpty());
    EXPECT_EQ(Names(), std::vector<std::string> { "folder.txt" });
}

TEST_F(FileStore, AWriteThatRunsOutOfSpaceKeepsTheOldFileWhole)
{
    const std::string path = Path("data.txt");
    Put(path, "the recording saved before");
    // A file-size limit fails the write part-way, as a full disk does.
    struct rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    CString problem;
    const bool written = ReplaceFileContents(Wide(path), std::string(5000, 'x'), &problem);
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_FALSE(problem.IsEmpty());
    EXPECT_EQ(Contents(path), "the recording saved before");
    EXPECT_EQ(Names(), std::vector<std::string> { "data.txt" });
}

TEST_F(FileStore, ASymbolicLinkKeepsPointingAtTheReplacedFile)
{
    Put(Path("real.txt"), "old");
    ASSERT_EQ(symlink("real.txt", Path("link.txt").c_str()), 0);
    CString problem;
    ASSERT_TRUE(ReplaceFileContents(Wide(Path("link.txt")), "new", &problem)) << problem.GetString();
    struct stat info {};
    ASSERT_EQ(lstat(Path("link.txt").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(Contents(Path("real.txt")), "new");

    // A link whose file does not exist yet is written through: its file is made.
    ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
    ASSERT_EQ(symlink("sub/made.txt", Path("dangling.txt").c_str()), 0);
    ASSERT_TRUE(ReplaceFileContents(Wide(Path("dangling.txt")), "made", &problem)) << problem.GetString();
    ASSERT_EQ(lstat(Path("dangling.txt").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(Contents(Path("sub/made.txt")), "made");
    EXPECT_EQ(Names(), (std::vector<std::string> { "dangling.txt", "link.txt", "real.txt", "sub" }));
}

// What a save did, as a user who is not root: in a child that drops to
// "nobody" when the test runs as root (for whom every file is writable),
// directly otherwise.
struct SUnprivilegedSave {
    bool written = false;
    std::string problem;
};

SUnprivilegedSave SaveUnprivileged(const std::string& path, const std::string& bytes)
{
    SUnprivilegedSave result;
    if (geteuid() != 0) {
        CString problem;
        result.written = ReplaceFileContents(CString(path.c_str()), bytes, &problem);
        result.problem = win32::Utf8FromWide(problem.GetString());
        return result;
    }
    const passwd* nobody = getpwnam("nobody");
    if (!nobody) {
        ADD_FAILURE() << "no user nobody to save as";
        return result;
    }
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    int channel[2];
    if (pipe(channel) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return result;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::string report = "dropping privileges failed";
        if (setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0) {
            CString problem;
            report = ReplaceFileContents(CString(path.c_str()), bytes, &problem) ? "W" : "F";
            report += win32::Utf8FromWide(problem.GetString());
        }
        [[maybe_unused]] const ssize_t sent = write(channel[1], report.data(), report.size());
        _exit(0);
    }
    close(channel[1]);
    std::string report;
    char piece[512];
    for (ssize_t n; (n = read(channel[0], piece, sizeof piece)) > 0;)
        report.append(piece, static_cast<size_t>(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (report.empty() || (report[0] != 'W' && report[0] != 'F')) {
        ADD_FAILURE() << "the save as nobody did not run: " << report;
        return result;
    }
    result.written = report[0] == 'W';
    result.problem = report.substr(1);
    return result;
}

TEST_F(FileStore, AFileThisUserMayNotWriteIsRefusedWithTheSystemsReasonAndKept)
{
    // A folder everybody may write in, as a shared folder is.
    const std::string shared = Path("shared");
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(chmod(shared.c_str(), 0777), 0);
    std::vector<std::string> refused { shared + "/own read-only.txt" };
    Put(refused[0], "the user's own recording");
    ASSERT_EQ(chmod(refused[0].c_str(), 0444), 0);
    if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        ASSERT_NE(nobody, nullptr);
        ASSERT_EQ(chown(refused[0].c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        // Another user's file, which the user may read but not write.
        refused.push_back(shared + "/another user's.txt");
        Put(refused[1], "another user's recording");
        ASSERT_EQ(chmod(refused[1].c_str(), 0644), 0);
    }
    for (const std::string& path : refused) {
        struct stat before {};
        ASSERT_EQ(stat(path.c_str(), &before), 0);
        const std::string contents = Contents(path);
        const SUnprivilegedSave save = SaveUnprivileged(path, "new");
        EXPECT_FALSE(save.written) << path;
        EXPECT_NE(save.problem.find("Permission denied"), std::string::npos) << save.problem;
        struct stat after {};
        ASSERT_EQ(stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << path;
        EXPECT_EQ(after.st_mode, before.st_mode) << path;
        EXPECT_EQ(after.st_uid, before.st_uid) << path;
        EXPECT_EQ(Contents(path), contents);
    }
    DIR* d = opendir(shared.c_str());
    ASSERT_NE(d, nullptr);
    size_t entries = 0;
    while (dirent* e = readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            ++entries;
    closedir(d);
    EXPECT_EQ(entries, refused.size()) << "a save left something behind";
}

TEST_F(FileStore, ReadsDataFilesFromRegularFilesOnly)
{
    CObArray records;
    CString problem;
    EXPECT_EQ(ReadDataFile(Wide(dir.path()), records, &problem), EDataFileRead::Failed);
    EXPECT_NE(problem.Find(L"folder"), -1);
    EXPECT_EQ(ReadDataFile(Wide(Path("none.txt")), records, &problem), EDataFileRead::Failed);
    // A pipe that nobody writes to must not hang the reader.
    ASSERT_EQ(mkfifo(Path("pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(ReadDataFile(Wide(Path("pipe.txt")), records, &problem), EDataFileRead::Failed);
    EXPECT_EQ(records.GetSize(), 0);
}

TEST_F(FileStore, ReadsAFileInPiecesAsItsBytesAreParsed)
{
    // Lines of every length, so that line ends and CR LF pairs fall across
    // the reader's pieces.
    std::string bytes = "VELDMARK KV415 DATA LOGGER SamplingRate:0.5;\r\n";
    for (int i = 0; bytes.size() < 300000; ++i)
        bytes += std::to_string(i) + "-01-2020,12:00:00, " + std::string(static_cast<size_t>(i % 97), '0')
            + std::to_string(i % 1000) + ".5, dBC\r\n";
    bytes += "last line without a line end, dBA";
    Put(Path("data.txt"), bytes);

    CObArray parsed;
    ASSERT_EQ(meterfiles::ParseDataFile(bytes.data(), bytes.size(), parsed), EDataFileRead::Read);
    CObArray read;
    CString problem;
    ASSERT_EQ(ReadDataFile(Wide(Path("data.txt")), read, &problem), EDataFileRead::Read);
    ASSERT_EQ(read.GetSize(), parsed.GetSize());
    for (INT_PTR i = 0; i < read.GetSize(); ++i) {
        ASSERT_EQ(RecordAt(read, i)->m_strDateTime, RecordAt(parsed, i)->m_strDateTime) << i;
        ASSERT_EQ(RecordAt(read, i)->m_strUnit, RecordAt(parsed, i)->m_strUnit) << i;
        ASSERT_EQ(RecordAt(read, i)->m_dValue, RecordAt(parsed, i)->m_dValue) << i;
    }
    DeleteAllRecords(&read);
    DeleteAllRecords(&parsed);
}

TEST_F(FileStore, StopsReadingAtTheSizeLimitUnlessTheRecordsEndBefore)
{
    const std::string header = "VELDMARK KV415 DATA LOGGER SamplingRate:1.0;\r\n";
    const std::string huge(meterfiles::kDataFileMaxBytes, 'x');
    Put(Path("one-line.txt"), header + huge + "\r\n");
    CObArray records;
    CString problem;
    EXPECT_EQ(ReadDataFile(Wide(Path("one-line.txt")), records, &problem), EDataFileRead::TooLarge);
    EXPECT_EQ(records.GetSize(), 0);

    Put(Path("ends-early.txt"), header + "d,t, 1.00, dBA\r\n\r\n" + huge);
    EXPECT_EQ(ReadDataFile(Wide(Path("ends-early.txt")), records, &problem), EDataFileRead::Read);
    EXPECT_EQ(records.GetSize(), 1);
    DeleteAllRecords(&records);
}

}  // namespace
