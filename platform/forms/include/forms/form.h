// A form: a borderless top-level window showing a background picture, with
// windowless picture buttons and labels drawn on it. User-interface thread
// only.
#pragma once

#include "win32/types.h"

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

#include <string>
#include <vector>

class wxWindow;

namespace forms {

class Control;
class FormWindow;


class Form {
public:
    // Creates the window, hidden, with no caption bar and no frame and a client
    // area of the given size in pixels; `caption` is the window's title for the
    // desktop.
    Form(const std::string& caption, int clientWidth, int clientHeight);
    // Destroys the window if it is still loaded.
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The background, drawn at its own size from the client area's top-left
    // corner; what lies outside the client area is not shown.
    void SetPicture(const wxBitmap& picture);
    void SetIcon(const wxIconBundle& icons);

    // Shows the window in the middle of the screen.
    void Show();
    // Closes and destroys the window (the destruction completes when control
    // returns to the event loop); the program ends when its last window is
    // gone. The form object stays usable and reports itself unloaded.
    void Unload();

    // The window's handle for user32 calls; null once unloaded.
    HWND hWnd() const { return m_handle; }
    // The window itself, for drawing and for driving it in tests; null once
    // unloaded.
    wxWindow* Window() const;

    // A mouse button went down on the background, not on a control. `button`
    // is 1 (left), 2 (right) or 4 (middle), `shift` a combination of 1 (Shift),
    // 2 (Ctrl) and 4 (Alt), x and y are client pixels. Does nothing unless a form overrides it.
    virtual void Form_MouseDown(int button, int shift, int x, int y);

    const wxBitmap& Picture() const { return m_picture; }

private:
    bool IsLoaded() const { return m_window != nullptr; }
    // How many desktop moves SendMessageA has started for this window.
    int MovesStarted() const { return m_movesStarted; }
    // The topmost control whose area holds the client point, or null.
    Control* ControlAt(int x, int y) const;
    const std::vector<Control*>& Controls() const { return m_controls; }
    friend class Control;
    friend class FormWindow;
    friend struct Internals;
    void AddControl(Control* control);
    void RemoveControl(Control* control);
    void WindowGone();
    void CountMoveStarted() { ++m_movesStarted; }

    FormWindow* m_window = nullptr;
    HWND m_handle = nullptr;
    wxBitmap m_picture;
    std::vector<Control*> m_controls;
    int m_movesStarted = 0;
};

}  // namespace forms
