#include "tempdir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testutil {

TempDir::TempDir()
{
    char pattern[] = "/tmp/decibar-test-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace testutil
