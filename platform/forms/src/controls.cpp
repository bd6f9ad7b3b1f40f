#include "forms/controls.h"
#include "win32/text.h"

#include "forms/form.h"

#include <wx/dc.h>
#include <wx/window.h>

namespace forms {

Control::Control(Form& form, int left, int top, int width, int height)
    : m_form(form), m_area(left, top, width, height)
{
    m_form.AddControl(this);
}

Control::~Control()
{
    m_form.RemoveControl(this);
}

void Control::SetMousePointer(const wxCursor& pointer)
{
    m_pointer = pointer;
}

void Control::Repaint() const
{
    if (wxWindow* window = m_form.Window())
        window->RefreshRect(m_area);
}

void Image::SetPicture(const wxBitmap& picture)
{
    m_picture = picture;
    Repaint();
}

void Image::Draw(wxDC& dc) const
{
    if (m_picture.IsOk())
        dc.DrawBitmap(m_picture, Area().GetTopLeft(), true);
}

void Image::LeftClicked()
{
    if (Click)
        Click();
}

void Label::SetCaption(const std::string& caption)
{
    m_caption = caption;
    Repaint();
}

void Label::SetForeColor(const wxColour& colour)
{
    m_foreColor = colour;
    Repaint();
}

void Label::SetFont(const wxFont& font)
{
    m_font = font;
    Repaint();
}

void Label::Draw(wxDC& dc) const
{
    dc.SetFont(m_font);
    dc.SetTextForeground(m_foreColor);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.DrawText(wxString(win32::WideFromUtf8(m_caption)), Area().GetTopLeft());
}

}  // namespace forms
