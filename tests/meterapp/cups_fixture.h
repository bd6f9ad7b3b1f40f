// A CUPS scheduler of the test's own, with a cups-pdf queue whose PDFs land
// in the test's folder. It needs root (cupsd's backends and cups-pdf run as
// root), cupsd, lpadmin and cups-pdf (scripts/deps.sh) and a writable
// /etc/cups (cups-pdf reads its settings only there); without them it says
// why in SkipReason().
#pragma once

#include <memory>
#include <string>

#include "support/scopedenv.h"
#include "support/tempdir.h"

class PrivateCups {
public:
    // Starts cupsd on a socket in a temporary folder, points CUPS_SERVER of
    // this process at it and adds the queue `queue`.
    explicit PrivateCups(const std::string& queue);
    // Stops the scheduler and removes everything it was given.
    ~PrivateCups();

    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Empty when the queue is up; otherwise why it is not.
    const std::string& SkipReason() const { return m_skip; }
    const std::string& Queue() const { return m_queue; }

    // The queue refuses new jobs (cupsreject) or takes them again (cupsaccept).
    bool Accept(bool accept);
    // Forgets the PDFs printed so far.
    void ClearOutput();
    // Waits until the scheduler has no job left and a PDF lies in the output
    // folder; its path, or empty after `timeoutMs`.
    std::string WaitForPdf(int timeoutMs = 60000);
    // Sheets printed so far ("total" of the page log: pages times copies).
    int SheetsLogged() const;
    // The scheduler's error log, to show when a test fails.
    std::string ErrorLog() const;

private:
    bool Start();

    std::string m_queue;
    std::string m_skip;
    std::unique_ptr<testutil::TempDir> m_dir;
    std::unique_ptr<testutil::ScopedEnv> m_server;
    std::string m_instance;
    std::string m_pdfConf;
    int m_pid = -1;
};
