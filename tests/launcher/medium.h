// An installation medium in a temporary folder, with installers that are
// shell scripts leaving marks beside themselves.
#pragma once

#include "support/tempdir.h"

#include <string>

class Medium {
public:
    const std::string& Path() const { return m_dir.path(); }
    std::string At(const std::string& relative) const { return m_dir.path() + relative; }

    // Writes an installer at `relative` (e.g. "/Software/setup.exe") that
    // writes "<pid> <$0>" to "<path>.started", waits (at most ten seconds)
    // for "<path>.go" and then writes "<path>.finished".
    std::string AddInstaller(const std::string& relative) const;

private:
    testutil::TempDir m_dir;
};

// Checks that the installer was started, that the launcher did not wait for
// it, and that it is reaped once it ends; then clears its marks.
void ExpectStartedWithoutWaiting(const std::string& installer);
