#include "scopedenv.h"

#include <cstdlib>

namespace testutil {

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name)
{
    const char* old = std::getenv(name);
    m_hadValue = old != nullptr;
    if (old)
        m_oldValue = old;
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    if (m_hadValue)
        setenv(m_name.c_str(), m_oldValue.c_str(), 1);
    else
        unsetenv(m_name.c_str());
}

}  // namespace testutil
