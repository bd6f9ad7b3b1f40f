#include "wxsupport/gl_probe.h"

#include <cstdlib>

namespace wxsupport {

NoGlProbe::NoGlProbe()
{
    if (std::getenv("GDK_GL"))
        return;
    m_set = setenv("GDK_GL", "disable", 0) == 0;
}

NoGlProbe::~NoGlProbe()
{
    if (m_set)
        unsetenv("GDK_GL");
}

}  // namespace wxsupport
