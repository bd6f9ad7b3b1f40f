#include "menu_id_assert.h"

#include <wx/debug.h>
#include <wx/string.h>

namespace {

wxAssertHandler_t g_previousHandler = nullptr;

void FilterAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    if (msg == "invalid itemid value" || msg == "invalid id value")
        return;
    if (g_previousHandler)
        g_previousHandler(file, line, func, cond, msg);
}

} // namespace

void IgnoreWxMenuIdAssert()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    g_previousHandler = wxSetAssertHandler(&FilterAssert);
}
