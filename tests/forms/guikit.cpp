#include "guikit.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/window.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

// Sets the toolkit up once for the whole test program.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static char name[] = "forms-test";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        // The desktop accessibility bridge is of no use here and leaves a
        // D-Bus buffer behind at exit, which the leak checker reports.
        setenv("NO_AT_BRIDGE", "1", 0);
        wxApp::SetInstance(new wxApp);
        ASSERT_TRUE(wxEntryStart(argc, argv));
        ASSERT_TRUE(wxTheApp->CallOnInit());
        wxInitAllImageHandlers();
    }
    void TearDown() override
    {
        wxTheApp->ProcessIdle();
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

std::mutex g_boxesMutex;
std::vector<guikit::ShownBox> g_boxes;

int RecordBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    std::lock_guard<std::mutex> lock(g_boxesMutex);
    g_boxes.push_back({owner, text ? text : L"", caption ? caption : L"", type});
    return IDOK;
}

}  // namespace

namespace guikit {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        wxTheApp->Yield(true);
        wxTheApp->ProcessIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void Pump(int ms)
{
    PumpUntil([] { return false; }, ms);
}

void SendMouse(wxWindow* window, wxEventType type, int x, int y, bool shift)
{
    wxMouseEvent event(type);
    event.SetEventObject(window);
    event.SetId(window->GetId());
    event.SetPosition(wxPoint(x, y));
    event.SetShiftDown(shift);
    window->GetEventHandler()->ProcessEvent(event);
}

void Click(wxWindow* window, int x, int y)
{
    SendMouse(window, wxEVT_LEFT_DOWN, x, y);
    SendMouse(window, wxEVT_LEFT_UP, x, y);
}

wxImage Screenshot(wxWindow* window)
{
    const wxSize size = window->GetClientSize();
    const wxPoint origin = window->ClientToScreen(wxPoint(0, 0));
    wxBitmap bitmap(size);
    {
        wxScreenDC screen;
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, size.x, size.y, &screen, origin.x, origin.y);
    }
    return bitmap.ConvertToImage();
}

ScriptedBoxes::ScriptedBoxes() : m_previous(win32::SetMessageBoxHandler(&RecordBox))
{
    std::lock_guard<std::mutex> lock(g_boxesMutex);
    g_boxes.clear();
}

ScriptedBoxes::~ScriptedBoxes()
{
    win32::SetMessageBoxHandler(m_previous);
}

std::vector<ShownBox> ScriptedBoxes::Shown() const
{
    std::lock_guard<std::mutex> lock(g_boxesMutex);
    return g_boxes;
}

}  // namespace guikit
