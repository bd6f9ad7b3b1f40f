// Windowless controls of a form: areas of its client that the form draws and
// hit-tests itself. They have no focus and no keyboard access. A control adds
// itself to its form on construction and removes itself on destruction; it
// must not outlive the form.
#pragma once

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/cursor.h>
#include <wx/font.h>
#include <wx/gdicmn.h>

#include <functional>
#include <string>

class wxDC;

namespace forms {

struct Internals;

class Form;

class Control {
public:
    // `left`, `top`, `width`, `height`: the control's area in client pixels.
    Control(Form& form, int left, int top, int width, int height);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    void SetMousePointer(const wxCursor& pointer);

    // Draws the control into its area, clipped to it.
    virtual void Draw(wxDC& dc) const = 0;

private:
    friend class Form;
    friend class FormWindow;
    friend class Image;
    friend class Label;
    friend struct Internals;
    const wxRect& Area() const { return m_area; }
    // The pointer shown while the mouse is over the control; the standard
    // arrow when none is set.
    const wxCursor& MousePointer() const { return m_pointer; }
    // A press of the left button on the control was released over it.
    virtual void LeftClicked() {}
    void Repaint() const;
    Form& m_form;
    wxRect m_area;
    wxCursor m_pointer;
};

// A picture button: shows its picture from the area's top-left corner,
// unscaled, with no pressed look, and runs Click when clicked with the left
// button.
class Image : public Control {
public:
    using Control::Control;
    void SetPicture(const wxBitmap& picture);
    const wxBitmap& Picture() const { return m_picture; }
    std::function<void()> Click;

    void Draw(wxDC& dc) const override;

private:
    void LeftClicked() override;
    wxBitmap m_picture;
};

// One line of text, left-aligned at the area's top-left corner, drawn over
// the form's picture with no background of its own. Presses on it do nothing.
class Label : public Control {
public:
    using Control::Control;
    void SetCaption(const std::string& caption);
    void SetForeColor(const wxColour& colour);
    void SetFont(const wxFont& font);

    void Draw(wxDC& dc) const override;

private:
    friend struct Internals;
    const std::string& Caption() const { return m_caption; }
    const wxFont& Font() const { return m_font; }
    std::string m_caption;
    wxColour m_foreColor{*wxBLACK};
    wxFont m_font{*wxNORMAL_FONT};
};

}  // namespace forms
