#include "forms/form.h"
#include "win32/text.h"

#include "form_window.h"
#include "forms/controls.h"
#include "window_handles.h"

#include <algorithm>

namespace forms {

Form::Form(const std::string& caption, int clientWidth, int clientHeight)
    : m_window(new FormWindow(*this, wxString(win32::WideFromUtf8(caption)), wxSize(clientWidth, clientHeight)))
{
    m_handle = RegisterWindowHandle(m_window);
}

Form::~Form()
{
    if (m_window) {
        m_window->Detach();
        m_window->Destroy();
        ForgetWindowHandle(m_handle);
    }
}

wxWindow* Form::Window() const
{
    return m_window;
}

void Form::SetPicture(const wxBitmap& picture)
{
    m_picture = picture;
    if (m_window)
        m_window->Refresh();
}

void Form::SetIcon(const wxIconBundle& icons)
{
    if (m_window)
        m_window->SetIcons(icons);
}

void Form::Show()
{
    if (!m_window)
        return;
    m_window->Centre();
    m_window->Show();
}

void Form::Unload()
{
    FormWindow* window = m_window;
    if (!window)
        return;
    window->Detach();
    WindowGone();
    window->Destroy();
}

void Form::WindowGone()
{
    ForgetWindowHandle(m_handle);
    m_window = nullptr;
    m_handle = nullptr;
}

void Form::Form_MouseDown(int, int, int, int) {}

Control* Form::ControlAt(int x, int y) const
{
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        if ((*it)->Area().Contains(x, y))
            return *it;
    }
    return nullptr;
}

void Form::AddControl(Control* control)
{
    m_controls.push_back(control);
    if (m_window)
        m_window->Refresh();
}

void Form::RemoveControl(Control* control)
{
    m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), control), m_controls.end());
    if (m_window)
        m_window->Refresh();
}

}  // namespace forms
