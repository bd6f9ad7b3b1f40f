#include "cups_fixture.h"

#include <cups/cups.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

const char* const kCupsd = "/usr/sbin/cupsd";
const char* const kLpadmin = "/usr/sbin/lpadmin";
const char* const kCupsPdf = "/usr/lib/cups/backend/cups-pdf";
const char* const kCupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const char* const kCupsConfigDir = "/etc/cups";

bool Write(const std::string& path, const std::string& text)
{
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out);
}

std::string Read(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

PrivateCups::PrivateCups(const std::string& queue)
    : m_queue(queue)
{
    if (::geteuid() != 0)
        m_skip = "not root: cupsd runs its backends, and cups-pdf, as root";
    else if (::access(kCupsd, X_OK) != 0 || ::access(kLpadmin, X_OK) != 0)
        m_skip = "no cupsd or lpadmin (packages cups and cups-client, scripts/deps.sh)";
    else if (::access(kCupsPdf, F_OK) != 0 || ::access(kCupsPdfPpd, R_OK) != 0)
        m_skip = "no cups-pdf (package printer-driver-cups-pdf, scripts/deps.sh)";
    else if (::access(kCupsConfigDir, W_OK) != 0)
        m_skip = "/etc/cups is not writable: cups-pdf reads its settings only there";
    if (m_skip.empty() && !Start() && m_skip.empty())
        m_skip = "the private cupsd did not start";
}

bool PrivateCups::Start()
{
    m_dir = std::make_unique<testutil::TempDir>();
    const std::string root = m_dir->path();
    for (const char* sub : { "/etc", "/state", "/cache", "/spool", "/tmp", "/log", "/out", "/pdfspool" })
        ::mkdir((root + sub).c_str(), 0755);
    ::chmod(root.c_str(), 0755);
    for (const char* sub : { "/tmp", "/out", "/pdfspool" })
        ::chmod((root + sub).c_str(), 01777);

    const std::string socket = root + "/cups.sock";
    if (!Write(root + "/etc/cupsd.conf",
            "LogLevel info\nDefaultPaperSize A4\nListen " + socket
                + "\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
        || !Write(root + "/etc/cups-files.conf",
            "ServerRoot " + root + "/etc\nStateDir " + root + "/state\nCacheDir " + root + "/cache\nRequestRoot "
                + root + "/spool\nTempDir " + root + "/tmp\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                + "AccessLog " + root + "/log/access_log\nErrorLog " + root + "/log/error_log\nPageLog " + root
                + "/log/page_log\nUser lp\nGroup lp\nSystemGroup root\n"))
        return false;

    // cups-pdf takes the settings of instance X from /etc/cups/cups-pdf-X.conf.
    m_instance = "decibar-test-" + std::to_string(::getpid());
    m_pdfConf = std::string(kCupsConfigDir) + "/cups-pdf-" + m_instance + ".conf";
    if (!Write(m_pdfConf,
            "Out " + root + "/out\nAnonDirName " + root + "/out\nSpool " + root + "/pdfspool\nLog " + root
                + "/log\nLabel 1\n"))
        return false;

    m_pid = ::fork();
    if (m_pid == 0) {
        ::execl(kCupsd, kCupsd, "-f", "-c", (root + "/etc/cupsd.conf").c_str(), "-s",
            (root + "/etc/cups-files.conf").c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (m_pid < 0)
        return false;
    // libcups keeps the server it found first; a second scheduler in one process needs telling.
    m_server = std::make_unique<testutil::ScopedEnv>("CUPS_SERVER", socket);
    cupsSetServer(socket.c_str());
    struct stat st {};
    for (int i = 0; i < 200 && ::stat(socket.c_str(), &st) != 0; ++i)
        Sleep(50);
    // A4 whatever the machine's locale; poppler's pdftops turns the PDF into
    // PostScript with its fonts kept, so that the printed PDF still has text.
    const std::string add = std::string(kLpadmin) + " -p " + m_queue + " -E -v cups-pdf:/" + m_instance + " -P "
        + kCupsPdfPpd + " -o PageSize=A4 -o pdftops-renderer-default=pdftops >/dev/null 2>&1";
    if (std::system(add.c_str()) != 0) {
        m_skip = "lpadmin could not add the queue: " + ErrorLog();
        return false;
    }
    return true;
}

PrivateCups::~PrivateCups()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    if (!m_pdfConf.empty())
        ::unlink(m_pdfConf.c_str());
    m_server.reset();
    cupsSetServer(nullptr);
    if (m_dir)
        std::system(("rm -rf '" + m_dir->path() + "'/*").c_str());
}

bool PrivateCups::Accept(bool accept)
{
    const std::string command
        = std::string(accept ? "/usr/sbin/cupsaccept " : "/usr/sbin/cupsreject ") + m_queue + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void PrivateCups::ClearOutput()
{
    if (m_dir)
        std::system(("rm -f '" + m_dir->path() + "'/out/*.pdf").c_str());
}

std::string PrivateCups::WaitForPdf(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        cups_job_t* jobs = nullptr;
        const int active = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, m_queue.c_str(), 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(active > 0 ? active : 0, jobs);
        std::string found;
        if (DIR* dir = ::opendir((m_dir->path() + "/out").c_str())) {
            while (dirent* e = ::readdir(dir)) {
                std::string name = e->d_name;
                if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pdf") == 0)
                    found = m_dir->path() + "/out/" + name;
            }
            ::closedir(dir);
        }
        if (active == 0 && !found.empty())
            return found;
        Sleep(100);
    }
    return std::string();
}

int PrivateCups::SheetsLogged() const
{
    std::istringstream log(Read(m_dir->path() + "/log/page_log"));
    std::string line;
    int sheets = 0;
    while (std::getline(log, line)) {
        const size_t at = line.find(" total ");
        if (at != std::string::npos)
            sheets += std::atoi(line.c_str() + at + 7);
    }
    return sheets;
}

std::string PrivateCups::ErrorLog() const
{
    return m_dir ? Read(m_dir->path() + "/log/error_log") : std::string();
}
