#pragma once

#include <string>

namespace testutil {

// Sets an environment variable for the lifetime of the object and puts back
// what was there before (or unsets it).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_hadValue;
    std::string m_oldValue;
};

}  // namespace testutil
