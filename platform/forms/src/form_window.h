// The wx window behind a Form: paints the picture and the controls and turns
// mouse events into control clicks, pointer changes and Form_MouseDown.
#pragma once

#include <wx/frame.h>

namespace forms {

class Control;
class Form;

class FormWindow : public wxFrame {
public:
    FormWindow(Form& form, const wxString& caption, const wxSize& clientSize);
    ~FormWindow() override;

    // The form is going away first: the window must no longer call into it.
    void Detach() { m_form = nullptr; }
    // Starts the desktop's move of this window from the pointer's position;
    // false when the window is not on screen.
    bool BeginDesktopMove();

private:
    void OnPaint(wxPaintEvent& event);
    void OnButtonDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnClose(wxCloseEvent& event);
    bool HasControl(const Control* control) const;

    Form* m_form;
    Control* m_pressed = nullptr;
};

}  // namespace forms
