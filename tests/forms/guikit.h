#pragma once

#include "win32/user.h"
#include "win32/internal.h"

#include <wx/event.h>

#include <functional>
#include <string>
#include <vector>

class wxImage;
class wxWindow;

namespace guikit {

// Handles pending events until `done` holds or `timeoutMs` has passed;
// returns whether it holds.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);
void Pump(int ms);

// Sends a mouse event to the window through its event handler, as the toolkit
// would deliver it. `type` is wxEVT_LEFT_DOWN, wxEVT_RIGHT_UP, wxEVT_MOTION...
void SendMouse(wxWindow* window, wxEventType type, int x, int y, bool shift = false);
// Left button down and up at a client point.
void Click(wxWindow* window, int x, int y);

// What the screen shows of the window's client area.
wxImage Screenshot(wxWindow* window);

struct ShownBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// Answers every message box with IDOK and records it, while it lives.
class ScriptedBoxes {
public:
    ScriptedBoxes();
    ~ScriptedBoxes();
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;
    std::vector<ShownBox> Shown() const;

private:
    win32::MessageBoxHandler m_previous;
};

}  // namespace guikit
