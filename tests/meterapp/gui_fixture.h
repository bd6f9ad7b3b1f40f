// Runs Decibar in this process, in a real window, for the window tests.
#pragma once

#include "meterapp/decibar_app.h"
#include "meterapp/decibar_view.h"
#include "meterapp/main_frame.h"

#include <afx/testing.h>
#include <gtest/gtest.h>

#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "win32/testing.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Readable CString values in failure messages.
void PrintTo(const CString& text, std::ostream* os);

// The modal boxes the program asked for while a Decibar instance ran, and the
// answers the test gives them.
struct SModalLog {
    std::vector<AfxModalRequest> requests;
    int messageBoxAnswer = IDNO;
    int dialogAnswer = IDOK;
};

// COMPORTS_DIR and the device tree point at fresh, empty directories, so
// that only the ports a test makes are found.
class PrivatePorts {
public:
    PrivatePorts();
    ~PrivatePorts();
    const std::string& Dir() const { return m_ports; }
    // Whether one lives now.
    static bool Active();

private:
    testutil::TempDir m_tmp;
    std::string m_ports;
    std::string m_sysfs;
    testutil::ScopedEnv m_portsEnv;
    win32test::ScopedDeviceTree m_tree;
};

class DecibarInstance {
public:
    // Starts the program as InitInstance does; the window is maximised. The
    // program finds only the ports of the test's PrivatePorts, or of one of
    // its own while it runs when the test has none.
    DecibarInstance();
    // Closes the main window (answering No to a question) when it still exists.
    ~DecibarInstance();

    CMainFrame* Frame() const;
    CDecibarView* View() const;
    bool Running() const;

    // Sends a menu or tool-bar command to the main window as the menu does.
    void Command(UINT id);
    // Gives the view's client area this size by resizing the main window.
    bool SetViewClientSize(int width, int height);

    SModalLog modal;

private:
    std::unique_ptr<PrivatePorts> m_ownPorts;
};

// The window's rectangle in the view's client coordinates.
CRect ControlRect(CDecibarView* view, int id);

// A control of a window as the window tree holds it; a missing one, or one
// of another class, fails the test.
template <class Control>
Control& ControlOf(CWnd* parent, int id)
{
    auto* control = dynamic_cast<Control*>(parent->GetDlgItem(id));
    if (!control)
        ADD_FAILURE() << "control " << id << " is missing or of another class";
    return *control;
}
CGraphicsBtn& GraphOf(CDecibarView* view);
CScrollBar& ScrollBarOf(CDecibarView* view, int id); // IDC_VSCROLL or IDC_HSCROLL

// Menu items of the main window as their menu last showed them.
bool Grayed(CMainFrame* frame, UINT id);
bool Checked(CMainFrame* frame, UINT id);
