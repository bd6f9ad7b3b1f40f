#pragma once

#include <string>

namespace testutil {

// A fresh directory under /tmp, removed with its contents when it goes away.
// Throws std::runtime_error when no directory can be made.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace testutil
