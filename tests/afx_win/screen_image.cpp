#include "screen_image.h"

#include <cairo.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/graphics.h>

#include "afx/testing.h"

wxImage ScreenImage(wxWindow* window, const wxRect& client)
{
    const wxPoint at = window->ClientToScreen(client.GetPosition());
    wxBitmap shot(client.width, client.height, 24);
    {
        wxScreenDC screen;
        // cairo keeps a snapshot of the screen from the last read until told it changed.
        if (wxGraphicsContext* gc = screen.GetGraphicsContext())
            cairo_surface_mark_dirty(cairo_get_target(static_cast<cairo_t*>(gc->GetNativeContext())));
        wxMemoryDC memory(shot);
        memory.Blit(0, 0, client.width, client.height, &screen, at.x, at.y);
    }
    return shot.ConvertToImage();
}

wxImage ScreenImage(wxWindow* window)
{
    wxWindow* top = wxGetTopLevelParent(window);
    top->Raise();
    AfxTestPumpUntil([] { return false; }, 150);
    return ScreenImage(window, wxRect(wxPoint(0, 0), window->GetClientSize()));
}
