#include <gtk/gtk.h>
#include <wx/evtloop.h>
#include <wx/graphics.h>
#include <wx/listctrl.h>
#include <wx/scrolbar.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "afx/testing.h"
#include "internal.h"

// Last: Xlib defines words such as None and Status as macros.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {
wxGUIEventLoop* g_testLoop = nullptr;
}

void AfxTestInitialize()
{
    if (!afxwin::StartWx(0, nullptr))
        return;
    if (!wxEventLoopBase::GetActive()) {
        g_testLoop = new wxGUIEventLoop;
        wxEventLoopBase::SetActive(g_testLoop);
    }
}

void AfxTestShutdown()
{
    if (!wxTheApp)
        return;
    afxwin::ShutdownSends();
    if (g_testLoop && wxEventLoopBase::GetActive() == g_testLoop)
        wxEventLoopBase::SetActive(nullptr);
    delete g_testLoop;
    g_testLoop = nullptr;
    wxEntryCleanup();
}

void AfxTestSetModalAnswerer(AfxModalAnswerer answerer)
{
    afxwin::SetModalAnswerer(std::move(answerer));
}

void AfxTestSetFileDialogPath(CFileDialog* dialog, LPCTSTR path)
{
    if (dialog)
        dialog->m_path = path;
}

void AfxTestChoosePdfPrinter(CPrintDialog* dialog, LPCTSTR path, int dpi, double widthMm, double heightMm, int copies)
{
    if (!dialog)
        return;
    afxwin::Internals::PrintDevice(dialog).Empty();
    afxwin::Internals::PrintFile(dialog) = path;
    DEVMODE& dm = afxwin::Internals::PrintMode(dialog);
    dm = DEVMODE{};
    dm.dmFields = DM_COPIES | DM_PRINTQUALITY | DM_PAPERWIDTH | DM_PAPERLENGTH;
    dm.dmCopies = static_cast<short>(copies);
    dm.dmPrintQuality = static_cast<short>(dpi);
    dm.dmPaperWidth = static_cast<short>(widthMm * 10 + 0.5);
    dm.dmPaperLength = static_cast<short>(heightMm * 10 + 0.5);
    afxwin::Internals::PrintRecord(dialog).nCopies = static_cast<WORD>(copies);
}

void AfxTestChooseQueue(CPrintDialog* dialog, LPCTSTR queue, int copies)
{
    if (!dialog)
        return;
    afxwin::Internals::PrintFile(dialog).Empty();
    afxwin::Internals::PrintDevice(dialog) = queue;
    afxwin::Internals::PrintMode(dialog) = DEVMODE{};
    afxwin::Internals::PrintMode(dialog).dmFields = DM_COPIES;
    afxwin::Internals::PrintMode(dialog).dmCopies = static_cast<short>(copies);
    afxwin::Internals::PrintRecord(dialog).nCopies = static_cast<WORD>(copies);
}

bool AfxTestWaitCursorShown()
{
    return ::wxIsBusy();
}

int AfxTestLivePrinterDCs()
{
    return afxwin::LivePrinterHandles();
}

void AfxTestPump()
{
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    if (loop)
        while (loop->Pending())
            loop->Dispatch();
    if (wxTheApp) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
    afxwin::RunSentMessages(true);
}

bool AfxTestPumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        AfxTestPump();
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        if (wxEventLoopBase* loop = wxEventLoopBase::GetActive())
            loop->DispatchTimeout(5);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

COLORREF AfxTestReadPixel(CWnd* wnd, int x, int y)
{
    const std::vector<COLORREF> pixel = AfxTestReadPixels(wnd, CRect(x, y, x + 1, y + 1));
    return pixel.empty() ? CLR_INVALID : pixel.front();
}

std::vector<COLORREF> AfxTestReadPixels(CWnd* wnd, const CRect& area)
{
    if (area.Width() <= 0 || area.Height() <= 0)
        return {};
    std::vector<COLORREF> pixels(static_cast<size_t>(area.Width()) * static_cast<size_t>(area.Height()), CLR_INVALID);
    AfxWindowImpl* impl = wnd ? afxwin::Lookup(wnd->m_hWnd) : nullptr;
    if (!impl || !impl->picture || impl->pictureDrawing)
        return pixels;
    const afxwin::SurfaceRows rows(impl->picture.get(), wxRect(area.left, area.top, area.Width(), area.Height()));
    if (!rows.Ok())
        return pixels;
    const wxRect& read = rows.Area();
    for (int y = read.y; y < read.GetBottom() + 1; ++y) {
        const uint32_t* row = rows.Row(y);
        for (int x = read.x; x < read.GetRight() + 1; ++x)
            pixels[static_cast<size_t>(y - area.top) * static_cast<size_t>(area.Width()) + static_cast<size_t>(x - area.left)] =
                RGB((row[x] >> 16) & 0xFF, (row[x] >> 8) & 0xFF, row[x] & 0xFF);
    }
    return pixels;
}

wxImage AfxTestScreenImage(const wxRect& screenRect)
{
    wxBitmap shot(screenRect.width, screenRect.height, 24);
    {
        wxScreenDC screen;
        // cairo keeps a snapshot of the screen from an earlier read until told it changed.
        if (wxGraphicsContext* gc = screen.GetGraphicsContext())
            cairo_surface_mark_dirty(cairo_get_target(static_cast<cairo_t*>(gc->GetNativeContext())));
        wxMemoryDC mem(shot);
        mem.Blit(0, 0, screenRect.width, screenRect.height, &screen, screenRect.x, screenRect.y);
    }
    return shot.ConvertToImage();
}

bool AfxTestSaveScreenshot(CWnd* wnd, const std::wstring& path)
{
    wxWindow* w = wnd ? afxwin::Internals::Wx(wnd) : nullptr;
    if (!w)
        return false;
    // Without a window manager new windows pile up at the origin: bring this one up.
    w->GetParent() ? w->GetParent()->Raise() : w->Raise();
    w->Raise();
    AfxTestPumpUntil([] { return false; }, 100);
    w->Update();
    const wxImage shot = AfxTestScreenImage(w->GetScreenRect());
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    return shot.IsOk() && shot.SaveFile(wxString(path), wxBITMAP_TYPE_PNG);
}

COLORREF AfxTestTextColour(CWnd* control)
{
    wxWindow* w = control ? afxwin::Internals::Wx(control) : nullptr;
    return w ? afxwin::FromWxColour(w->GetForegroundColour()) : CLR_INVALID;
}

COLORREF AfxTestBackColour(CWnd* control)
{
    wxWindow* w = control ? afxwin::Internals::Wx(control) : nullptr;
    return w ? afxwin::FromWxColour(w->GetBackgroundColour()) : CLR_INVALID;
}

void AfxTestChooseItem(CWnd* control, int index)
{
    wxWindow* w = control ? afxwin::Internals::Wx(control) : nullptr;
    auto* items = dynamic_cast<wxItemContainer*>(w);
    if (!items || index < 0 || index >= static_cast<int>(items->GetCount()))
        return;
    items->SetSelection(index);
    wxEventType type = dynamic_cast<wxChoice*>(w) ? wxEVT_CHOICE
                       : dynamic_cast<wxComboBox*>(w) ? wxEVT_COMBOBOX : wxEVT_LISTBOX;
    wxCommandEvent e(type, w->GetId());
    e.SetEventObject(w);
    e.SetInt(index);
    w->GetEventHandler()->ProcessEvent(e);
}

void AfxTestScroll(CScrollBar* bar, int code, int pos)
{
    auto* w = bar ? dynamic_cast<wxScrollBar*>(afxwin::Internals::Wx(bar)) : nullptr;
    AfxWindowImpl* impl = bar ? afxwin::Lookup(bar->m_hWnd) : nullptr;
    if (!w || !impl)
        return;
    wxEventType type = wxEVT_SCROLL_THUMBTRACK;
    switch (code) {
    case SB_LINEUP: type = wxEVT_SCROLL_LINEUP; break;
    case SB_LINEDOWN: type = wxEVT_SCROLL_LINEDOWN; break;
    case SB_PAGEUP: type = wxEVT_SCROLL_PAGEUP; break;
    case SB_PAGEDOWN: type = wxEVT_SCROLL_PAGEDOWN; break;
    case SB_THUMBPOSITION: type = wxEVT_SCROLL_THUMBRELEASE; break;
    case SB_TOP: type = wxEVT_SCROLL_TOP; break;
    case SB_BOTTOM: type = wxEVT_SCROLL_BOTTOM; break;
    default: break;
    }
    // The bar moves under the user's hand before the program hears of it.
    w->SetThumbPosition(pos - impl->scrollMin);
    wxScrollEvent e(type, w->GetId(), pos - impl->scrollMin, w->IsVertical() ? wxVERTICAL : wxHORIZONTAL);
    e.SetEventObject(w);
    w->GetEventHandler()->ProcessEvent(e);
}

bool AfxTestShownScrollThumb(CScrollBar* bar, int* first, int* last)
{
    wxWindow* w = bar ? afxwin::Internals::Wx(bar) : nullptr;
    if (!w || !w->IsShownOnScreen())
        return false;
    const wxSize size = w->GetSize();
    const bool vertical = size.y > size.x;
    const wxImage shot = AfxTestScreenImage(w->GetScreenRect());
    // Along the middle of the bar the thumb stands out from the trough.
    std::vector<int> light;
    for (int i = 0; i < (vertical ? size.y : size.x); ++i) {
        const int x = vertical ? size.x / 2 : i, y = vertical ? i : size.y / 2;
        light.push_back(shot.GetRed(x, y) * 299 + shot.GetGreen(x, y) * 587 + shot.GetBlue(x, y) * 114);
    }
    if (light.empty())
        return false;
    const auto [darkest, lightest] = std::minmax_element(light.begin(), light.end());
    if (*lightest - *darkest < 40 * 1000)
        return false;
    const int middle = (*darkest + *lightest) / 2;
    int bestFirst = -1, bestLength = 0;
    for (int i = 0; i < static_cast<int>(light.size());) {
        if (light[i] >= middle) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < static_cast<int>(light.size()) && light[i] < middle)
            ++i;
        if (i - start > bestLength) {
            bestFirst = start;
            bestLength = i - start;
        }
    }
    *first = bestFirst;
    *last = bestFirst + bestLength - 1;
    return true;
}

void AfxTestTurnWheel(CWnd* over, int notches)
{
    wxWindow* w = over ? afxwin::Internals::Wx(over) : nullptr;
    Display* display = w ? XOpenDisplay(nullptr) : nullptr;
    if (!display)
        return;
    const wxRect r = w->GetScreenRect();
    XTestFakeMotionEvent(display, -1, r.x + r.width / 2, r.y + r.height / 2, CurrentTime);
    XSync(display, False);
    AfxTestPumpUntil([] { return false; }, 50);
    // Buttons 4 and 5 are the wheel's notches away from and towards the user.
    const unsigned button = notches < 0 ? 4 : 5;
    for (int i = 0; i < std::abs(notches); ++i) {
        XTestFakeButtonEvent(display, button, True, CurrentTime);
        XTestFakeButtonEvent(display, button, False, CurrentTime);
        XSync(display, False);
        AfxTestPumpUntil([] { return false; }, 50);
    }
    XCloseDisplay(display);
}

int AfxTestScrollThumb(CScrollBar* bar)
{
    auto* w = bar ? dynamic_cast<wxScrollBar*>(afxwin::Internals::Wx(bar)) : nullptr;
    AfxWindowImpl* impl = bar ? afxwin::Lookup(bar->m_hWnd) : nullptr;
    return w && impl ? w->GetThumbPosition() + impl->scrollMin : -1;
}

void AfxTestActivateListItem(CListCtrl* list, int item)
{
    auto* w = list ? dynamic_cast<wxListCtrl*>(afxwin::Internals::Wx(list)) : nullptr;
    if (w && item == -1) {
        // A double click below the last row.
        wxRect last(0, 0, 0, 0);
        if (w->GetItemCount() > 0)
            w->GetItemRect(w->GetItemCount() - 1, last);
        wxWindow* rows = afxwin::ListRowsWindow(w);
        wxMouseEvent click(wxEVT_LEFT_DCLICK);
        click.SetPosition(wxPoint(4, last.GetBottom() + 4));
        click.SetEventObject(rows);
        if (last.GetBottom() + 4 < rows->GetClientSize().y)
            rows->GetEventHandler()->ProcessEvent(click);
        return;
    }
    if (!w || item < 0 || item >= w->GetItemCount())
        return;
    w->SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxListEvent e(wxEVT_LIST_ITEM_ACTIVATED, w->GetId());
    e.SetEventObject(w);
    e.m_itemIndex = item;
    w->GetEventHandler()->ProcessEvent(e);
}

void AfxTestTypeText(CWnd* edit, LPCTSTR text)
{
    auto* w = edit ? dynamic_cast<wxTextCtrl*>(afxwin::Internals::Wx(edit)) : nullptr;
    if (w)
        w->SetValue(afxwin::ToWx(text));
}

void AfxTestClickButton(CWnd* button)
{
    wxWindow* w = button ? afxwin::Internals::Wx(button) : nullptr;
    if (!w)
        return;
    if (dynamic_cast<wxButton*>(w)) {
        wxCommandEvent e(wxEVT_BUTTON, w->GetId());
        e.SetEventObject(w);
        w->GetEventHandler()->ProcessEvent(e);
        return;
    }
    HWND hwnd = button->m_hWnd;
    ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    ::SendMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
}

void AfxTestChooseCommand(CWnd* frame, UINT id)
{
    wxWindow* w = frame ? afxwin::Internals::Wx(frame) : nullptr;
    if (!w)
        return;
    wxCommandEvent e(wxEVT_MENU, afxwin::WxCommandId(id));
    e.SetEventObject(w);
    w->GetEventHandler()->ProcessEvent(e);
}

void AfxTestPressKey(CWnd* dialog, UINT virtualKey)
{
    wxWindow* w = dialog ? afxwin::Internals::Wx(dialog) : nullptr;
    if (!w)
        return;
    int code = virtualKey == VK_ESCAPE ? WXK_ESCAPE : virtualKey == VK_RETURN ? WXK_RETURN : static_cast<int>(virtualKey);
    wxKeyEvent e(wxEVT_CHAR_HOOK);
    e.m_keyCode = code;
    e.SetEventObject(w);
    w->GetEventHandler()->ProcessEvent(e);
}

bool AfxTestPressKeys(CWnd* window, BYTE modifiers, UINT virtualKey)
{
    wxWindow* w = window ? afxwin::Internals::Wx(window) : nullptr;
    int key = 0;
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        key = static_cast<int>(wxTolower(virtualKey));
    else if (virtualKey >= VK_F1 && virtualKey <= VK_F12)
        key = WXK_F1 + static_cast<int>(virtualKey - VK_F1);
    if (!w || key == 0)
        return false;
    // Without a window manager the keyboard goes where the input focus was
    // put last: the window is brought up and given it, as a click would.
    wxGetTopLevelParent(w)->Raise();
    w->SetFocus();
    AfxTestPumpUntil([] { return false; }, 100);
    int flags = wxMOD_NONE;
    if (modifiers & FCONTROL)
        flags |= wxMOD_CONTROL;
    if (modifiers & FSHIFT)
        flags |= wxMOD_SHIFT;
    if (modifiers & FALT)
        flags |= wxMOD_ALT;
    wxUIActionSimulator keyboard;
    return keyboard.Char(key, flags);
}

void AfxTestHighlightCommand(CFrameWnd* frame, UINT id)
{
    wxWindow* w = frame ? afxwin::Internals::Wx(frame) : nullptr;
    if (!w)
        return;
    if (id == 0) {
        wxMenuEvent e(wxEVT_MENU_CLOSE, 0, nullptr);
        e.SetEventObject(w);
        w->GetEventHandler()->ProcessEvent(e);
        return;
    }
    wxMenuEvent e(wxEVT_MENU_HIGHLIGHT, afxwin::WxCommandId(id), nullptr);
    e.SetEventObject(w);
    w->GetEventHandler()->ProcessEvent(e);
}

void AfxTestOpenMenu(CWnd* frame, int barPosition)
{
    wxWindow* w = frame ? afxwin::Internals::Wx(frame) : nullptr;
    CMenu* bar = frame ? frame->GetMenu() : nullptr;
    auto* wxBar = bar ? static_cast<wxMenuBar*>(afxwin::Internals::WxBar(bar)) : nullptr;
    if (!w || !wxBar || barPosition < 0 || barPosition >= static_cast<int>(wxBar->GetMenuCount()))
        return;
    // As a click on the bar does: GTK selects the item and opens its drop-down.
    GtkWidget* shell = static_cast<GtkWidget*>(wxBar->GetHandle());
    GList* items = gtk_container_get_children(GTK_CONTAINER(shell));
    auto* item = static_cast<GtkWidget*>(g_list_nth_data(items, static_cast<guint>(barPosition)));
    g_list_free(items);
    if (!item)
        return;
    gtk_menu_shell_select_item(GTK_MENU_SHELL(shell), item);
    gtk_menu_item_activate(GTK_MENU_ITEM(item));
}

UINT AfxTestMenuState(CMenu* menu, UINT item, UINT flags)
{
    return afxwin::Internals::MenuState(menu, item, flags);
}

int AfxTestMenuItemCount(CMenu* menu)
{
    return afxwin::Internals::MenuItemCount(menu);
}

UINT AfxTestMenuItemID(CMenu* menu, int pos)
{
    return afxwin::Internals::MenuItemID(menu, pos);
}

int AfxTestMenuString(CMenu* menu, UINT item, CString& text, UINT flags)
{
    return afxwin::Internals::MenuString(menu, item, text, flags);
}

CMenu* AfxTestMenuBar(CFrameWnd* frame)
{
    return afxwin::Internals::MenuBar(frame);
}

void AfxTestUpdateMenuPopup(CFrameWnd* frame, int barPosition)
{
    afxwin::Internals::UpdateMenuPopup(frame, barPosition);
}

CToolBar* AfxTestToolBar(CFrameWnd* frame)
{
    return afxwin::Internals::ToolBar(frame);
}

CStatusBar* AfxTestStatusBar(CFrameWnd* frame)
{
    return afxwin::Internals::StatusBar(frame);
}

BOOL AfxTestButtonEnabled(CToolBar* bar, UINT id)
{
    return afxwin::Internals::ButtonEnabled(bar, id);
}

void AfxTestUpdateButtons(CToolBar* bar)
{
    afxwin::Internals::UpdateButtons(bar);
}

int AfxTestButtonCount(CToolBar* bar)
{
    return afxwin::Internals::ButtonCount(bar);
}

UINT AfxTestButtonID(CToolBar* bar, int index)
{
    return afxwin::Internals::ButtonID(bar, index);
}

CString AfxTestPaneText(CStatusBar* bar, int index)
{
    return afxwin::Internals::PaneText(bar, index);
}

std::vector<UINT> AfxTestIndicators(CStatusBar* bar)
{
    return afxwin::Internals::Indicators(bar);
}

int AfxTestItemCount(CComboBox* box)
{
    return afxwin::Internals::ItemCount(box);
}

int AfxTestItemText(CComboBox* box, int index, CString& text)
{
    return afxwin::Internals::ItemText(box, index, text);
}

int AfxTestColumnCount(CListCtrl* list)
{
    return afxwin::Internals::ColumnCount(list);
}

int AfxTestNextItem(CListCtrl* list, int start, UINT flags)
{
    return afxwin::Internals::NextItem(list, start, flags);
}

void AfxTestScrollRange(CScrollBar* bar, int* low, int* high)
{
    afxwin::Internals::ScrollRange(bar, low, high);
}

void AfxTestProgressRange(CProgressCtrl* progress, int& low, int& high)
{
    afxwin::Internals::ProgressRange(progress, low, high);
}

int AfxTestProgressPos(CProgressCtrl* progress)
{
    return afxwin::Internals::ProgressPos(progress);
}

BOOL AfxTestLoadFrame(CFrameWnd* frame, UINT id)
{
    return afxwin::Internals::LoadFrame(frame, id);
}

AfxTestFileDialogRequest AfxTestFileDialogAsked(const CFileDialog& dialog)
{
    using afxwin::Internals;
    return {Internals::OpensFile(dialog) != FALSE, Internals::DefaultExt(dialog), Internals::FileName(dialog),
            Internals::Filter(dialog), Internals::Flags(dialog)};
}

CString AfxTestPrintOutputFile(const CPrintDialog& dialog)
{
    return afxwin::Internals::OutputFile(dialog);
}

UINT AfxTestTemplateId(const CDialog* dialog)
{
    return afxwin::Internals::TemplateId(dialog);
}

bool AfxTestModalRunning(const CDialog* dialog)
{
    return afxwin::Internals::ModalRunning(dialog);
}

const AfxDialogTemplate* AfxTestFindDialog(UINT id)
{
    return AfxFindDialog(id);
}

CSize AfxTestDialogBaseUnits(const AfxDialogTemplate& dialogTemplate)
{
    return AfxDialogBaseUnits(dialogTemplate);
}

CRect AfxTestDialogUnitsToPixels(CSize baseUnits, const RECT& dialogUnits)
{
    return AfxDialogUnitsToPixels(baseUnits, dialogUnits);
}

void AfxTestMapDialogRect(const CDialog* dialog, LPRECT rect)
{
    afxwin::Internals::MapDialogRect(dialog, rect);
}

CWinApp* AfxTestApp()
{
    return AfxGetApp();
}

bool AfxTestHasDocTemplate(const CWinApp& app)
{
    return afxwin::Internals::HasDocTemplate(app);
}

void AfxTestDropClosedDocument(CWinApp& app)
{
    afxwin::Internals::DropClosedDocument(app);
}

CString AfxTestDocTitle(const CDocument* doc)
{
    return afxwin::Internals::Title(doc);
}

CView* AfxTestFirstView(const CDocument* doc)
{
    return afxwin::Internals::FirstView(doc);
}

std::vector<CString> AfxTestRecentFiles(CWinApp* app)
{
    return afxwin::Internals::RecentFiles(app);
}

void AfxTestAddToRecentFileList(CWinApp* app, LPCTSTR path)
{
    afxwin::Internals::AddToRecentFileList(app, path);
}

int AfxTestExitInstance(CWinApp* app)
{
    return afxwin::Internals::ExitInstance(app);
}

UINT AfxTestProfileInt(CWinApp* app, LPCTSTR section, LPCTSTR entry, int defaultValue)
{
    return afxwin::Internals::ProfileInt(app, section, entry, defaultValue);
}

CString AfxTestProfileString(CWinApp* app, LPCTSTR section, LPCTSTR entry)
{
    return afxwin::Internals::ProfileString(app, section, entry);
}

BOOL AfxTestWriteProfileString(CWinApp* app, LPCTSTR section, LPCTSTR entry, LPCTSTR value)
{
    return afxwin::Internals::WriteProfileString(app, section, entry, value);
}

CDocument* AfxTestOpenDocumentFile(CDocTemplate* docTemplate, LPCTSTR path)
{
    return afxwin::Internals::OpenDocumentFile(docTemplate, path);
}

wxWindow* AfxTestWx(const CWnd* wnd)
{
    return afxwin::Internals::Wx(wnd);
}

CString AfxTestWindowText(const CWnd* wnd)
{
    CString text;
    afxwin::Internals::WindowText(wnd, text);
    return text;
}

DWORD AfxTestStyle(const CWnd* wnd)
{
    return afxwin::Internals::Style(wnd);
}

BOOL AfxTestWindowEnabled(const CWnd* wnd)
{
    return afxwin::Internals::Enabled(wnd);
}

void AfxTestClientToScreen(const CWnd* wnd, LPPOINT point)
{
    afxwin::Internals::ClientToScreen(wnd, point);
}

CWnd* AfxTestCapture()
{
    return afxwin::Internals::Capture();
}

BOOL AfxTestSubclassDlgItem(CWnd* wnd, UINT id, CWnd* parent)
{
    return afxwin::Internals::SubclassDlgItem(wnd, id, parent);
}

BOOL AfxTestIsWindow(HWND hwnd)
{
    return IsWindow(hwnd);
}

COLORREF AfxTestDCPixel(const CDC& dc, int x, int y)
{
    return afxwin::Internals::Pixel(dc, x, y);
}

UINT AfxTestSetTextAlign(CDC& dc, UINT flags)
{
    return afxwin::Internals::SetTextAlign(dc, flags);
}

COLORREF AfxTestTextColour(const CDC& dc)
{
    return afxwin::Internals::TextColour(dc);
}

BOOL AfxTestCreatePointFont(CFont& font, int pointSize, LPCTSTR faceName)
{
    return afxwin::Internals::CreatePointFont(font, pointSize, faceName);
}

int AfxTestLogFont(const CFont& font, LOGFONT* out)
{
    return afxwin::Internals::LogFont(font, out);
}

const wxFont& AfxTestWxFont(const CFont& font)
{
    return afxwin::Internals::WxFont(font);
}
