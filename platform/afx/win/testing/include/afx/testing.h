// The test driver (library afxwin_testing, linked by tests only): in-process
// tests answer the program's modal boxes from a
// script and look at windows and what was drawn on them.
//
// Every modal box (message boxes, CDialog::DoModal, file dialogs, the print
// dialog) first asks the installed answerer. The answerer runs on the
// user-interface thread while the box's modal loop runs (timers and sent
// messages go on meanwhile), so it may inspect and change the dialog's
// controls before answering.
#pragma once

class wxImage;
class wxWindow;
class wxFont;
class wxRect;

#include <functional>
#include <string>
#include <vector>

#include "afx/afxwin.h"
#include "afx/commdlg.h"
#include "afx/modal.h"

// Installs the answerer (an empty function removes it: boxes are then shown
// to the user). Boxes asked while none is installed are real. For a file
// dialog set the path with AfxTestSetFileDialogPath before answering IDOK.
void AfxTestSetModalAnswerer(AfxModalAnswerer answerer);
void AfxTestSetFileDialogPath(CFileDialog* dialog, LPCTSTR path);
// For a print dialog, before answering IDOK: the user picks a printer that
// writes each document as a PDF file at `path`, on paper of widthMm x heightMm
// at `dpi`, and asks for `copies`.
void AfxTestChoosePdfPrinter(CPrintDialog* dialog, LPCTSTR path, int dpi = 300, double widthMm = 210,
                             double heightMm = 297, int copies = 1);
// The user picks the CUPS queue `queue` with its own paper and resolution.
void AfxTestChooseQueue(CPrintDialog* dialog, LPCTSTR queue, int copies = 1);
// True while the program shows the wait cursor.
bool AfxTestWaitCursorShown();
// Printer context handles made by CreateDC (the print dialog's too) that
// have not been deleted.
int AfxTestLivePrinterDCs();

// Runs the message loop until `done` returns true or `timeoutMs` passes; true
// when done.
bool AfxTestPumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Runs pending events and idle processing once.
void AfxTestPump();

// The colour last drawn at (x, y) of a window's picture (client coordinates);
// CLR_INVALID when the window keeps no picture or the point is outside.
COLORREF AfxTestReadPixel(CWnd* wnd, int x, int y);
// The colours of a rectangle of it, row after row, read at once (the display
// keeps the picture: one pixel at a time is a round trip each); CLR_INVALID
// for each pixel outside the picture, all of them when there is none.
std::vector<COLORREF> AfxTestReadPixels(CWnd* wnd, const CRect& area);
// Saves a screenshot of a window (its screen pixels, controls included) as PNG.
bool AfxTestSaveScreenshot(CWnd* wnd, const std::wstring& path);
// The pixels the screen shows in a rectangle (screen coordinates), read afresh.
wxImage AfxTestScreenImage(const wxRect& screenRect);
// What the framework's menus, bars and controls show the user, and the update
// handlers a menu or bar runs before it is shown. A menu item is addressed as
// CMenu::EnableMenuItem addresses it; AfxTestMenuState gives MF_GRAYED,
// MF_CHECKED, MF_POPUP, MF_SEPARATOR and MFT_RADIOCHECK.
// What a program asked of a file dialog.
struct AfxTestFileDialogRequest {
    bool open;
    CString defaultExt;
    CString fileName;
    CString filter;
    DWORD flags;
};
AfxTestFileDialogRequest AfxTestFileDialogAsked(const CFileDialog& dialog);
// The file a print dialog's user chose to print to; empty for a printer.
CString AfxTestPrintOutputFile(const CPrintDialog& dialog);
// The template a dialog was made from, and whether its modal loop runs.
UINT AfxTestTemplateId(const CDialog* dialog);
bool AfxTestModalRunning(const CDialog* dialog);
// Dialog templates as the layer lays them out: the registered template of
// `id` (null when none is), its base units (average character width and
// height in pixels) and dialog units converted with them.
const AfxDialogTemplate* AfxTestFindDialog(UINT id);
CSize AfxTestDialogBaseUnits(const AfxDialogTemplate& dialogTemplate);
CRect AfxTestDialogUnitsToPixels(CSize baseUnits, const RECT& dialogUnits);
// CDialog::MapDialogRect: dialog units of `dialog` to its pixels.
void AfxTestMapDialogRect(const CDialog* dialog, LPRECT rect);
// The running application; whether it has registered a document template;
// and, for a test that starts the application's frame again, the document of
// a closed frame dropped so that New brings up a new frame and view.
CWinApp* AfxTestApp();
bool AfxTestHasDocTemplate(const CWinApp& app);
void AfxTestDropClosedDocument(CWinApp& app);
// A template opens a document as the framework's Open does (null: New).
CDocument* AfxTestOpenDocumentFile(CDocTemplate* docTemplate, LPCTSTR path);
// A document's title and first view.
CString AfxTestDocTitle(const CDocument* doc);
CView* AfxTestFirstView(const CDocument* doc);
// The application's recent-file list and profile, and its exit as the message
// loop's end runs it (the profile is written then).
std::vector<CString> AfxTestRecentFiles(CWinApp* app);
void AfxTestAddToRecentFileList(CWinApp* app, LPCTSTR path);
int AfxTestExitInstance(CWinApp* app);
UINT AfxTestProfileInt(CWinApp* app, LPCTSTR section, LPCTSTR entry, int defaultValue);
CString AfxTestProfileString(CWinApp* app, LPCTSTR section, LPCTSTR entry);
BOOL AfxTestWriteProfileString(CWinApp* app, LPCTSTR section, LPCTSTR entry, LPCTSTR value);
// A window as the toolkit has it (null without a window), and what the user
// sees of it: its text, style, whether it takes input, where a client point
// is on the screen, and the window the mouse is captured to.
wxWindow* AfxTestWx(const CWnd* wnd);
CString AfxTestWindowText(const CWnd* wnd);
DWORD AfxTestStyle(const CWnd* wnd);
BOOL AfxTestWindowEnabled(const CWnd* wnd);
void AfxTestClientToScreen(const CWnd* wnd, LPPOINT point);
CWnd* AfxTestCapture();
// Whether a handle still names a window.
BOOL AfxTestIsWindow(HWND hwnd);
// Attaches `wnd` to the control `id` of `parent`, as DDX_Control does.
BOOL AfxTestSubclassDlgItem(CWnd* wnd, UINT id, CWnd* parent);
// Drawing as the layer keeps it: the colour a context has drawn at (x, y)
// (CLR_INVALID outside), the text alignment of its TextOut (TA_ flags), the
// text colour it has, a font of pointSize tenths of a point, its LOGFONT and
// its toolkit font.
COLORREF AfxTestDCPixel(const CDC& dc, int x, int y);
UINT AfxTestSetTextAlign(CDC& dc, UINT flags);
COLORREF AfxTestTextColour(const CDC& dc);
BOOL AfxTestCreatePointFont(CFont& font, int pointSize, LPCTSTR faceName);
int AfxTestLogFont(const CFont& font, LOGFONT* out);
const wxFont& AfxTestWxFont(const CFont& font);
// Loads a frame of resource `id` as a document template does.
BOOL AfxTestLoadFrame(CFrameWnd* frame, UINT id);
UINT AfxTestMenuState(CMenu* menu, UINT item, UINT flags);
int AfxTestMenuItemCount(CMenu* menu);
UINT AfxTestMenuItemID(CMenu* menu, int pos);
int AfxTestMenuString(CMenu* menu, UINT item, CString& text, UINT flags);
CMenu* AfxTestMenuBar(CFrameWnd* frame);
void AfxTestUpdateMenuPopup(CFrameWnd* frame, int barPosition);
CToolBar* AfxTestToolBar(CFrameWnd* frame);
CStatusBar* AfxTestStatusBar(CFrameWnd* frame);
BOOL AfxTestButtonEnabled(CToolBar* bar, UINT id);
void AfxTestUpdateButtons(CToolBar* bar);
int AfxTestButtonCount(CToolBar* bar);
UINT AfxTestButtonID(CToolBar* bar, int index);
CString AfxTestPaneText(CStatusBar* bar, int index);
std::vector<UINT> AfxTestIndicators(CStatusBar* bar);
int AfxTestItemCount(CComboBox* box);
int AfxTestItemText(CComboBox* box, int index, CString& text);
int AfxTestColumnCount(CListCtrl* list);
int AfxTestNextItem(CListCtrl* list, int start, UINT flags);
void AfxTestScrollRange(CScrollBar* bar, int* low, int* high);
void AfxTestProgressRange(CProgressCtrl* progress, int& low, int& high);
int AfxTestProgressPos(CProgressCtrl* progress);

// Sets up the wx application for tests that do not run AfxWinMain.
void AfxTestInitialize();
// Ends it as AfxWinMain ends a program: the sends still running, then the
// toolkit and what it set up. Left set up, the toolkit's modules look lost to a
// leak check that runs after its libraries have ended, as it does at exit once
// a module was opened at run time.
void AfxTestShutdown();

// Controls as the user sees them: the colours shown, and the user's actions
// (each sends the notifications the program gets from a real one).
COLORREF AfxTestTextColour(CWnd* control);
COLORREF AfxTestBackColour(CWnd* control);
// The user picks entry `index` of a combo box or list box.
void AfxTestChooseItem(CWnd* control, int index);
// The user scrolls a scroll bar: code SB_LINEUP ... SB_THUMBPOSITION, at `pos`.
void AfxTestScroll(CScrollBar* bar, int code, int pos);
// The user double-clicks row `item` of a list view; -1: below the last row.
void AfxTestActivateListItem(CListCtrl* list, int item);
// The user types `text` into an edit box (replacing its text).
void AfxTestTypeText(CWnd* edit, LPCTSTR text);
// The user clicks a push button (native or drawn).
void AfxTestClickButton(CWnd* button);
// The user opens drop-down `barPosition` of the menu bar of a frame or a
// dialog (for a command on the bar itself: chooses it).
void AfxTestOpenMenu(CWnd* frame, int barPosition);
// The user chooses a command from the menu or tool bar of a frame or a dialog.
void AfxTestChooseCommand(CWnd* frame, UINT id);
// The user presses a key (VK_ESCAPE, VK_RETURN, ...) in a dialog.
void AfxTestPressKey(CWnd* dialog, UINT virtualKey);
// The user presses a key combination in a window (modifiers: FCONTROL, FSHIFT,
// FALT, as an accelerator entry names them; keys: letters, digits, VK_F1 to
// VK_F12) on the X server's keyboard, so that it takes the toolkit's whole way
// to the window's accelerators; it is handled once the message loop runs.
// False when the key cannot be pressed so.
bool AfxTestPressKeys(CWnd* window, BYTE modifiers, UINT virtualKey);
// The mouse rests on the menu item of `id`; 0: the menu closes.
void AfxTestHighlightCommand(CFrameWnd* frame, UINT id);
// The thumb position a scroll bar shows (in its range).
int AfxTestScrollThumb(CScrollBar* bar);
// The thumb as the screen shows it: its first and last pixel along the bar;
// false when the screen shows the bar without a thumb standing out.
bool AfxTestShownScrollThumb(CScrollBar* bar, int* first, int* last);
// The user turns the mouse wheel with the pointer over the middle of a window:
// `notches` towards the user (down), or away (up) when negative. The pointer
// and the wheel are the X display's own.
void AfxTestTurnWheel(CWnd* over, int notches);
