// Shared internals of the window layer.
#pragma once

#include <cairo.h>
#include <wx/wx.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>

#include "afx/afxwin.h"
#include "afx/modal.h"
#include "afx/win_codes.h"

class AfxTimer;

struct AfxSurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using AfxSurface = std::unique_ptr<cairo_surface_t, AfxSurfaceRelease>;

namespace afxwin {

// Drawing on a picture the display keeps (a window's, or a bitmap compatible
// with one): a cairo context on it and a wx context through that, drawing as a
// window's paint context draws. The device contexts that draw there share it,
// so it lasts while one of them does, whatever became of the window or bitmap.
class SurfaceDrawing {
public:
    explicit SurfaceDrawing(cairo_surface_t* surface);
    ~SurfaceDrawing();
    SurfaceDrawing(const SurfaceDrawing&) = delete;
    SurfaceDrawing& operator=(const SurfaceDrawing&) = delete;

    wxDC& DC() { return *m_dc; }

private:
    cairo_t* m_cairo;
    std::unique_ptr<wxDC> m_dc;
};

}  // namespace afxwin

// What the layer keeps for one window (keyed by its wx window).
struct AfxWindowImpl {
    wxWindow* wx = nullptr;
    CWnd* wnd = nullptr;                 // the object that stands for the window now
    std::unique_ptr<CWnd> generic;       // the layer's own object for template controls
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    AfxControlKind kind = AfxControlKind::Static;
    bool isControl = false;
    bool drawn = false;                  // keeps a picture and gets paint and mouse messages
    bool ownerDraw = false;              // a BS_OWNERDRAW button
    bool pressed = false;
    bool tracking = false;               // a press of the left button is under way
    bool invalid = true;
    bool erase = true;
    // What was drawn on the client area, kept where the display keeps the
    // screen's pixels (on X a server pixmap), and its size.
    AfxSurface picture;
    wxSize pictureSize;
    std::map<UINT_PTR, std::unique_ptr<AfxTimer>> timers;
    CFont* font = nullptr;
    HBITMAP image = nullptr;
    int scrollPos = 0;                   // the position the program last set
    int scrollMin = 0, scrollMax = 100;
    UINT scrollPage = 0;
    int progressMin = 0, progressMax = 100, progressPos = 0;
    bool destroying = false;
    bool painting = false;
    // What the paint and client contexts open on the window draw with.
    std::shared_ptr<afxwin::SurfaceDrawing> pictureDrawing;
    int pictureUsers = 0;
    std::unique_ptr<CFont> ownFont;
    std::unique_ptr<CMenu> menuBar;      // a dialog's menu bar (frames keep their own)
};

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

CWinApp* AfxGetApp();
BOOL IsWindow(HWND hwnd);

// Thrown by CDataExchange::Fail after the message has been shown.
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
public:
    CUserException() = default;
};

// The dialog base units of a template's font (average character width and
// character height in pixels, at 96 pixels per inch).
CSize AfxDialogBaseUnits(const AfxDialogTemplate& dialogTemplate);
// Dialog units to pixels with these base units, each edge on its own (as
// MapDialogRect does): x edges times cx / 4, y edges times cy / 8, rounded as
// MulDiv rounds. Template controls convert x, y, width and height each this way.
CRect AfxDialogUnitsToPixels(CSize baseUnits, const RECT& dialogUnits);
// Null when the id is not registered.
const AfxDialogTemplate* AfxFindDialog(UINT id);

namespace afxwin {

// The user-interface thread is the one that set up the layer.
bool IsUiThread();

// Every wx call of the layer runs on the user-interface thread. Checked builds
// (debug and sanitizer builds) verify that where the layer reaches a window's
// state, a control or a device context: a call from another thread that
// skipped the hand-off stops the program there, naming the call.
void RequireUiThread(const char* call = __builtin_FUNCTION());

// Stops the program in checked builds, naming a layer call that cannot do what
// it was asked; release builds go on.
void Unsupported(const char* call, const char* what);

// Window registry. The look-ups give the state of a window, which belongs to
// the user-interface thread (checked); IsLive may be asked from any thread.
AfxWindowImpl* Lookup(HWND hwnd, const char* call = __builtin_FUNCTION());
AfxWindowImpl* Lookup(const wxWindow* window, const char* call = __builtin_FUNCTION());

// The state of a framework window; null for a window without one.
inline AfxWindowImpl* ImplOf(const CWnd* wnd, const char* call = __builtin_FUNCTION())
{
    return wnd ? Lookup(wnd->m_hWnd, call) : nullptr;
}

// The wx window behind a framework window as the wx class a control has.
// The toolkit's window of a CWnd; null without one.
wxWindow* WxOf(const CWnd* wnd);
template <class T> T* As(const CWnd* wnd)
{
    return dynamic_cast<T*>(WxOf(wnd));
}
AfxWindowImpl* Register(wxWindow* window, CWnd* wnd);
void Unregister(wxWindow* window);
HWND ToHwnd(const wxWindow* window);
bool IsLive(HWND hwnd);

// Dispatches a message to a window on the user-interface thread; 0 when gone.
LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the messages other threads have sent or posted (on the user-interface thread).
// includePosted false: only sent ones (from inside a wait).
void RunSentMessages(bool includePosted);
void SetUiThread();
// Runs `call` once from the event loop that runs next (a nested modal loop too).
void RunSoon(std::function<void()> call);
// Stops a timer and deletes it once the tick that may be running is over.
void DisposeTimer(std::unique_ptr<AfxTimer> timer);
// Runs `call` on the user-interface thread and waits for it.
void CallOnUiThread(const std::function<void()>& call);

// Runs f on the user-interface thread (at once when called there) and returns
// its result; a default result when the layer has shut down.
template <class F> auto OnUi(F&& f) -> decltype(f())
{
    using R = decltype(f());
    if (IsUiThread())
        return f();
    if constexpr (std::is_void_v<R>) {
        CallOnUiThread([&] { f(); });
    } else {
        R result{};
        CallOnUiThread([&] { result = f(); });
        return result;
    }
}
extern void* const kHandlerProbe;
// Lets waiting senders go with result 0 when the layer shuts down.
void ShutdownSends();

// Makes a top-level window count as shown only while GTK shows it, however
// late the X server reports it mapped.
void KeepShownStateTrue(wxTopLevelWindow* window);

// Sets up a template's scroll bar: focusable, and drawn again whenever GTK
// places its thumb anew.
void PrepareScrollBar(wxScrollBar* bar);

// The window of a progress bar; the bar fills the whole window.
class AfxProgressBar : public wxWindow {
public:
    AfxProgressBar(wxWindow* parent, const wxRect& r);
    // Shows `value` of `range` (at least 1; the value is kept within it).
    void SetProgress(int range, int value);

private:
    int m_range = 100;
    int m_value = 0;
};

// Painting of drawn windows.
void EnsurePicture(AfxWindowImpl* impl);
// What draws on the picture of a drawn window, shared by the contexts open
// on it; null when the window has none.
std::shared_ptr<SurfaceDrawing> OpenPictureDrawing(AfxWindowImpl* impl);
// The window lets it go when its last context ends.
void ClosePictureDrawing(AfxWindowImpl* impl);
void PaintNow(AfxWindowImpl* impl);
void BindDrawnEvents(wxWindow* window);
// Makes the font and colours a window now has its own (as it looks, it stays).
void KeepDefaultAttributes(wxWindow* window);
COLORREF BackgroundOf(AfxWindowImpl* impl);
void ApplyControlColours(CWnd* parent);

// Command ids as wx ids and back (0 for an id that is no command).
int WxCommandId(UINT command);
UINT CommandFromWx(int id);

// Conversions.
wxString ToWx(LPCTSTR text);
CString FromWx(const wxString& text);
wxColour ToWxColour(COLORREF c);
COLORREF FromWxColour(const wxColour& c);
// Windows menu text ("&File\tCtrl+O") to a wx label that binds no key.
wxString MenuLabel(const wchar_t* text);
// The wx font of a font description; kept, so that fonts made for every drawing cost nothing.
wxFont FontFor(const LOGFONT& lf);
// What tells two font descriptions apart.
std::wstring FontKey(const LOGFONT& lf);

// How a font draws: its natural metrics and the factor by which its character
// width squeezes or stretches its texts across (1: natural).
struct FontLook {
    wxFontMetrics metrics;
    int widestChar = 0;
    double scale = 1.0;
};
// How a font draws a text: its natural extent, and its width as drawn.
struct TextLook {
    wxSize natural;
    int width = 0;
};
// Measured in dc (which then has the font selected): in a memory context the
// first time only, then kept.
FontLook LookOfFont(wxDC& dc, const CFont& font);
TextLook LookOfText(wxDC& dc, const CFont& font, const wxString& text);
// The text as the font draws it (squeezed or stretched by its character
// width), in `colour` over a transparent background; null for an empty text.
wxBitmap TextPicture(wxDC& dc, const CFont& font, const wxString& text, COLORREF colour);
// The font of a dialog template at 96 pixels per inch.
wxFont TemplateFont(const AfxDialogTemplate& t);
// Dialog base units of a font: average character width and height.
wxSize DialogBaseUnits(const wxFont& font);
// A rectangle in dialog units to pixels.
wxRect DialogUnitsToPixels(const wxSize& baseUnits, int x, int y, int cx, int cy);
wxBitmap ImageBitmap(AfxImageKind kind, UINT id);

// Creates the controls of a template inside `parent` (a dialog or a form),
// each with a generic CWnd of its kind. Returns the size in pixels.
wxSize CreateTemplateControls(CWnd* parentWnd, wxWindow* parent, const AfxDialogTemplate& t);
// Creates one control window.
wxWindow* CreateControl(wxWindow* parent, AfxControlKind kind, int id, const wchar_t* text, const wxRect& r,
                        DWORD style, DWORD exStyle, UINT image, const wxFont* font);

// The colour of a pixel of a surface; CLR_INVALID outside it.
COLORREF SurfacePixel(cairo_surface_t* surface, int x, int y);
// The pixels of a rectangle of a surface as 32-bit xRGB rows, read from the
// display for a surface it keeps; empty when they cannot be read.
class SurfaceRows {
public:
    SurfaceRows(cairo_surface_t* surface, const wxRect& area);
    ~SurfaceRows();
    SurfaceRows(const SurfaceRows&) = delete;
    SurfaceRows& operator=(const SurfaceRows&) = delete;

    bool Ok() const { return m_data != nullptr; }
    // The part of the asked area that was read.
    const wxRect& Area() const { return m_area; }
    bool HasAlpha() const { return m_alpha; }
    // Row y (surface coordinates), indexed by the surface's x.
    const uint32_t* Row(int y) const
    {
        return reinterpret_cast<const uint32_t*>(m_data + static_cast<ptrdiff_t>(y - m_area.y) * m_stride) - m_area.x;
    }

private:
    const unsigned char* m_data = nullptr;
    ptrdiff_t m_stride = 0;
    wxRect m_area;
    bool m_alpha = false;
    void* m_image = nullptr;   // what holds pixels read from the display
};

// The rectangle of the destination pixels that copying `to.GetSize()` pixels from
// `from` of src to `to` of dst would change: empty when none would; the whole
// of `to` when the pixels cannot be read.
wxRect ChangedByCopy(wxDC& dst, const wxRect& to, wxDC& src, const wxPoint& from);
// Copies `to.GetSize()` opaque pixels from `from` of a memory context to `to`
// of a picture the display keeps, straight into it: cairo would pass them
// through a shared-memory pool whose pages it keeps. False, copying nothing,
// for any other pair of contexts.
bool CopyOntoDisplay(wxDC& dst, const wxRect& to, wxDC& src, const wxPoint& from);
// The same copy through cairo, for contexts of any surface; false when either
// context is not at the surface's own coordinates.
bool CopyBetweenSurfaces(wxDC& dst, const wxRect& to, wxDC& src, const wxPoint& from);
// A picture of `size` in `ground` where the display keeps the screen's pixels.
AfxSurface NewDisplaySurface(const wxSize& size, COLORREF ground);

// Widens a one-line text label whose text is wider than it (any other window: nothing).
void FitLabelToText(wxWindow* window);

// Detaches every CWnd of a window tree (WM_DESTROY, PostNcDestroy) before the wx windows go.
void DetachTree(wxWindow* window);
HWND ConvertToDrawn(HWND hwnd);

// Sets up wx and the layer on this thread, which becomes the user-interface
// thread; true when wx runs (also when it ran already).
bool StartWx(int argc, char** argv);

// The answerer of modal boxes (afx/modal.h); an empty one removes it.
void SetModalAnswerer(AfxModalAnswerer answerer);
bool HasModalAnswerer();
// True when an answerer answered (result in *result).
bool AnswerModal(const AfxModalRequest& request, int* result);

// The window of a list view that shows its rows and takes their clicks.
wxWindow* ListRowsWindow(wxWindow* list);
// Closes whatever drop-down of the bar is open.
void CloseMenuBar(wxMenuBar* bar);
// Draws the mark of a checkable item as a radio mark (a bullet) or as a check mark.
void SetRadioMark(wxMenuItem* item, bool radio);
bool HasRadioMark(const wxMenuItem* item);

// The lock keys as the keyboard has them now.
struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};
LockKeys CurrentLockKeys();
// Calls `changed` (on the user-interface thread) whenever a lock key changes,
// until `owner` is destroyed.
void WatchLockKeys(wxWindow* owner, std::function<void()> changed);
// The menu bar of a registered menu; barCommands gets one entry per drop-down
// of the bar: 0, or the command of an item that stands on the bar itself.
wxMenuBar* BuildMenuBar(const std::vector<AfxMenuEntry>& entries, std::vector<UINT>& barCommands);
// Windows of dialog templates: a wx dialog for a modal run; for a modeless
// dialog a wx frame when the template has a menu, whose menu bar is the
// registered menu `menuId` and whose commands reach the dialog as WM_COMMAND.
wxDialog* CreateDialogWindow(CDialog* self, const AfxDialogTemplate& t, CWnd* parent);
wxTopLevelWindow* CreateModelessDialogWindow(CDialog* self, const AfxDialogTemplate& t, CWnd* parent);
std::unique_ptr<CMenu> AttachDialogMenu(wxFrame* frame, UINT menuId);

// Printer context handles made by ::CreateDC and not yet deleted.
int LivePrinterHandles();

// Wait cursor nesting.
void WaitCursor(int delta);

// Command routing of the frame for menus and the tool bar.
// The layer's own reach into the private state of the framework classes.
struct Internals {
    static wxWindow* Wx(const CWnd* wnd) { return wnd ? wnd->GetWx() : nullptr; }
    static void WindowText(const CWnd* wnd, CString& text) { wnd->GetWindowText(text); }
    static BOOL SubclassWindow(CWnd* wnd, HWND hwnd) { return wnd->SubclassWindow(hwnd); }
    static CWnd* SetCapture(CWnd* wnd) { return wnd->SetCapture(); }
    static CWnd* SetFocus(CWnd* wnd) { return wnd->SetFocus(); }
    static BOOL OnCommand(CWnd* wnd, WPARAM wParam, LPARAM lParam) { return wnd->OnCommand(wParam, lParam); }
    static LRESULT WindowProc(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return wnd->WindowProc(message, wParam, lParam);
    }
    static void PostNcDestroy(CWnd* wnd) { wnd->PostNcDestroy(); }
    static int PenStyle(const CPen* pen) { return pen->m_style; }
    static COLORREF PenColour(const CPen* pen) { return pen->m_color; }
    static bool BrushHollow(const CBrush* brush) { return brush->m_hollow; }
    static COLORREF BrushColour(const CBrush* brush) { return brush->m_color; }
    static BOOL CreateStockHollow(CBrush& brush) { return brush.CreateStockHollow(); }
    static const wxFont& WxFont(const CFont& font) { return font.WxFont(); }
    static int LogFont(const CFont& font, LOGFONT* out) { return font.GetLogFont(out); }
    static COLORREF TextColour(const CDC& dc) { return dc.GetTextColor(); }
    static void*& WxBar(const CMenu* menu) { return const_cast<CMenu*>(menu)->m_wxBar; }
    static void*& WxMenu(const CMenu* menu) { return const_cast<CMenu*>(menu)->m_wxMenu; }
    static std::vector<UINT>& BarCommands(const CMenu* menu) { return const_cast<CMenu*>(menu)->m_barCommands; }
    static void ApplyUpdate(wxMenuItem* item, const CCmdUI& ui);
    static void UpdateCommandUI(CFrameWnd* frame, UINT id, CCmdUI& ui);

    static HWND PrepareCtrl(CDataExchange* dx, int id) { return dx->PrepareCtrl(id); }
    static HWND PrepareEditCtrl(CDataExchange* dx, int id) { return dx->PrepareEditCtrl(id); }
    [[noreturn]] static void Fail(CDataExchange* dx) { dx->Fail(); }
    static BOOL SavesAndValidates(const CDataExchange* dx) { return dx->m_bSaveAndValidate; }

    // What the test driver reads and runs.
    static COLORREF Pixel(const CDC& dc, int x, int y) { return dc.GetPixel(x, y); }
    static UINT SetTextAlign(CDC& dc, UINT flags) { return dc.SetTextAlign(flags); }
    static BOOL CreatePointFont(CFont& font, int pointSize, LPCTSTR faceName)
    {
        return font.CreatePointFont(pointSize, faceName);
    }
    static void ClientToScreen(const CWnd* wnd, LPPOINT point) { wnd->ClientToScreen(point); }
    static CWnd* Capture() { return CWnd::GetCapture(); }
    static DWORD Style(const CWnd* wnd) { return wnd->GetStyle(); }
    static BOOL Enabled(const CWnd* wnd) { return wnd->IsWindowEnabled(); }
    static BOOL SubclassDlgItem(CWnd* wnd, UINT id, CWnd* parent) { return wnd->SubclassDlgItem(id, parent); }
    static bool HasDocTemplate(const CWinApp& app) { return app.GetFirstTemplate() != nullptr; }
    static void DropClosedDocument(CWinApp& app)
    {
        auto* docTemplate = static_cast<CSingleDocTemplate*>(app.GetFirstTemplate());
        if (docTemplate && docTemplate->GetDocument() && !docTemplate->GetDocument()->GetFirstView())
            docTemplate->RemoveDocument();
    }
    static const CString& Title(const CDocument* doc) { return doc->GetTitle(); }
    static CDocument* OpenDocumentFile(CDocTemplate* t, LPCTSTR path) { return t->OpenDocumentFile(path); }
    static CView* FirstView(const CDocument* doc) { return doc->GetFirstView(); }
    static std::vector<CString> RecentFiles(const CWinApp* app) { return app->GetRecentFiles(); }
    static void AddToRecentFileList(CWinApp* app, LPCTSTR path) { app->AddToRecentFileList(path); }
    static int ExitInstance(CWinApp* app) { return app->ExitInstance(); }
    static UINT ProfileInt(CWinApp* app, LPCTSTR section, LPCTSTR entry, int value)
    {
        return app->GetProfileInt(section, entry, value);
    }
    static CString ProfileString(CWinApp* app, LPCTSTR section, LPCTSTR entry)
    {
        return app->GetProfileString(section, entry);
    }
    static BOOL WriteProfileString(CWinApp* app, LPCTSTR section, LPCTSTR entry, LPCTSTR value)
    {
        return app->WriteProfileString(section, entry, value);
    }
    static void MapDialogRect(const CDialog* d, LPRECT rect) { d->MapDialogRect(rect); }
    static UINT TemplateId(const CDialog* d) { return d->m_nTemplateId; }
    static bool ModalRunning(const CDialog* d) { return d->m_modalRunning; }
    static BOOL OpensFile(const CFileDialog& d) { return d.m_bOpenFileDialog; }
    static CString DefaultExt(const CFileDialog& d) { return d.m_defaultExt; }
    static CString FileName(const CFileDialog& d) { return d.m_fileName; }
    static CString Filter(const CFileDialog& d) { return d.m_filter; }
    static DWORD Flags(const CFileDialog& d) { return d.m_ofn.Flags; }
    static CString OutputFile(const CPrintDialog& d) { return d.m_outputFile; }
    static CPrintDialog::PRINTDLG& PrintRecord(CPrintDialog* d) { return d->m_pd; }
    static CString& PrintDevice(CPrintDialog* d) { return d->m_deviceName; }
    static CString& PrintFile(CPrintDialog* d) { return d->m_outputFile; }
    static DEVMODE& PrintMode(CPrintDialog* d) { return d->m_devMode; }
    static BOOL LoadFrame(CFrameWnd* frame, UINT id)
    {
        return frame->LoadFrame(id, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr);
    }
    static UINT MenuState(CMenu* menu, UINT item, UINT flags) { return menu->GetMenuState(item, flags); }
    static int MenuItemCount(CMenu* menu) { return menu->GetMenuItemCount(); }
    static UINT MenuItemID(CMenu* menu, int pos) { return menu->GetMenuItemID(pos); }
    static int MenuString(CMenu* menu, UINT item, CString& text, UINT flags) { return menu->GetMenuString(item, text, flags); }
    static CMenu* MenuBar(CFrameWnd* frame) { return frame->GetMenuBar(); }
    static void UpdateMenuPopup(CFrameWnd* frame, int barPosition) { frame->UpdateMenuPopup(barPosition); }
    static CToolBar* ToolBar(CFrameWnd* frame) { return frame->m_toolBar; }
    static CStatusBar* StatusBar(CFrameWnd* frame) { return frame->m_statusBar; }
    static BOOL ButtonEnabled(CToolBar* bar, UINT id) { return bar->IsButtonEnabled(id); }
    static void UpdateButtons(CToolBar* bar) { bar->UpdateButtons(); }
    static int ButtonCount(CToolBar* bar) { return bar->GetCount(); }
    static UINT ButtonID(CToolBar* bar, int index) { return bar->GetItemID(index); }
    static CString PaneText(CStatusBar* bar, int index) { return bar->GetPaneText(index); }
    static std::vector<UINT> Indicators(CStatusBar* bar) { return bar->m_ids; }
    static int ItemCount(CComboBox* box) { return box->GetCount(); }
    static int ItemText(CComboBox* box, int index, CString& text) { return box->GetLBText(index, text); }
    static int ColumnCount(CListCtrl* list) { return list->GetColumnCount(); }
    static int NextItem(CListCtrl* list, int start, UINT flags) { return list->GetNextItem(start, static_cast<int>(flags)); }
    static void ScrollRange(CScrollBar* bar, int* low, int* high) { bar->GetScrollRange(low, high); }
    static void ProgressRange(CProgressCtrl* progress, int& low, int& high) { progress->GetRange(low, high); }
    static int ProgressPos(CProgressCtrl* progress) { return progress->GetPos(); }
};

inline void UpdateCommandUI(CFrameWnd* frame, UINT id, CCmdUI& ui)
{
    Internals::UpdateCommandUI(frame, id, ui);
}

}  // namespace afxwin

// A timer of one window.
class AfxTimer : public wxTimer {
public:
    AfxTimer(HWND hwnd, UINT_PTR id) : m_hwnd(hwnd), m_id(id) {}
    void Notify() override;

private:
    HWND m_hwnd;
    UINT_PTR m_id;
};
