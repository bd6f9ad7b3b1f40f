#include "screen_image.h"

#include <wx/toplevel.h>

#include "afx/testing.h"

wxImage ScreenImage(wxWindow* window, const wxRect& client)
{
    return AfxTestScreenImage(wxRect(window->ClientToScreen(client.GetPosition()), client.GetSize()));
}

wxImage ScreenImage(wxWindow* window)
{
    wxWindow* top = wxGetTopLevelParent(window);
    top->Raise();
    AfxTestPumpUntil([] { return false; }, 150);
    return ScreenImage(window, wxRect(wxPoint(0, 0), window->GetClientSize()));
}
