#include "form_window.h"

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/internal.h"

#include <wx/dcbuffer.h>

#include <algorithm>

namespace forms {

namespace {

int ButtonCode(const wxMouseEvent& event)
{
    if (event.GetButton() == wxMOUSE_BTN_RIGHT)
        return vbRightButton;
    if (event.GetButton() == wxMOUSE_BTN_MIDDLE)
        return vbMiddleButton;
    return vbLeftButton;
}

int ShiftCode(const wxMouseEvent& event)
{
    return (event.ShiftDown() ? vbShiftMask : 0) | (event.ControlDown() ? vbCtrlMask : 0) |
           (event.AltDown() ? vbAltMask : 0);
}

}  // namespace

FormWindow::FormWindow(Form& form, const wxString& caption, const wxSize& clientSize)
    : wxFrame(nullptr, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE), m_form(&form)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetClientSize(clientSize);
    Bind(wxEVT_PAINT, &FormWindow::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &FormWindow::OnButtonDown, this);
    Bind(wxEVT_RIGHT_DOWN, &FormWindow::OnButtonDown, this);
    Bind(wxEVT_MIDDLE_DOWN, &FormWindow::OnButtonDown, this);
    // The toolkit reports the second press of a double click only as such.
    Bind(wxEVT_LEFT_DCLICK, &FormWindow::OnButtonDown, this);
    Bind(wxEVT_RIGHT_DCLICK, &FormWindow::OnButtonDown, this);
    Bind(wxEVT_MIDDLE_DCLICK, &FormWindow::OnButtonDown, this);
    Bind(wxEVT_LEFT_UP, &FormWindow::OnLeftUp, this);
    Bind(wxEVT_MOTION, &FormWindow::OnMotion, this);
    Bind(wxEVT_CLOSE_WINDOW, &FormWindow::OnClose, this);
}

FormWindow::~FormWindow()
{
    if (m_form)
        m_form->WindowGone();
}

bool FormWindow::HasControl(const Control* control) const
{
    const auto& controls = m_form->Controls();
    return std::find(controls.begin(), controls.end(), control) != controls.end();
}

void FormWindow::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(*wxBLACK_BRUSH);
    dc.Clear();
    if (!m_form)
        return;
    if (m_form->Picture().IsOk())
        dc.DrawBitmap(m_form->Picture(), 0, 0);
    for (const Control* control : m_form->Controls()) {
        wxDCClipper clip(dc, control->Area());
        control->Draw(dc);
    }
}

void FormWindow::OnButtonDown(wxMouseEvent& event)
{
    if (!m_form)
        return;
    const wxPoint at = event.GetPosition();
    if (Control* control = m_form->ControlAt(at.x, at.y)) {
        // A double click clicks a picture button once.
        if (event.GetEventType() == wxEVT_LEFT_DOWN)
            m_pressed = control;
        return;
    }
    m_form->Form_MouseDown(ButtonCode(event), ShiftCode(event), at.x, at.y);
}

void FormWindow::OnLeftUp(wxMouseEvent& event)
{
    Control* pressed = m_pressed;
    m_pressed = nullptr;
    if (!m_form || !pressed || !HasControl(pressed))
        return;
    if (pressed->Area().Contains(event.GetPosition()))
        pressed->LeftClicked();
}

void FormWindow::OnMotion(wxMouseEvent& event)
{
    if (!m_form)
        return;
    const wxPoint at = event.GetPosition();
    const Control* control = m_form->ControlAt(at.x, at.y);
    SetCursor(control ? control->MousePointer() : wxNullCursor);
}

void FormWindow::OnClose(wxCloseEvent&)
{
    if (m_form)
        m_form->Unload();
    else
        Destroy();
}

}  // namespace forms
