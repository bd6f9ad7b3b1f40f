// Resource tables of an application: strings, menus, accelerators, tool bars,
// dialog templates and images. An application describes its resources as
// static tables of the types below and registers them once at start-up, before
// anything that loads a resource (usually from a static initialiser or at the
// top of InitInstance). Registration only stores the pointers: the tables must
// stay alive for the whole run (static storage).
//
// Example:
//   static const AfxStringEntry kStrings[] = {{57344, L"Program"}, {57345, L"Ready"}};
//   static const AfxMenuEntry kMainMenu[] = {
//       AfxPopup(L"File(&F)"), AfxItem(32790, L"Open\tCtrl+O(&O)"), AfxSeparator(),
//       AfxItem(32788, L"Exit(&X)"), AfxEndPopup(),
//       AfxItem(32780, L"DataLogger(&D)"),            // a command on the bar itself
//   };
//   AfxRegisterStrings(kStrings);
//   AfxRegisterMenu(128, kMainMenu);
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "afx/winstyles.h"
#include "win32/types.h"

// ---- string table ------------------------------------------------------------

struct AfxStringEntry {
    UINT id;
    const wchar_t* text;
};

// ---- menus ---------------------------------------------------------------------

// A menu is a flat list: Popup opens a drop-down that EndPopup closes (drop-downs
// may nest); Item is a command, Separator a line. An Item at the top level of a
// menu bar is a command on the bar itself. In a text "&" marks the mnemonic and
// "\t" separates the right-aligned part (shown only: it binds no key).
enum class AfxMenuKind { Item, Separator, Popup, EndPopup };

struct AfxMenuEntry {
    AfxMenuKind kind;
    UINT id;
    const wchar_t* text;
};

constexpr AfxMenuEntry AfxItem(UINT id, const wchar_t* text) { return {AfxMenuKind::Item, id, text}; }
constexpr AfxMenuEntry AfxSeparator() { return {AfxMenuKind::Separator, 0, nullptr}; }
constexpr AfxMenuEntry AfxPopup(const wchar_t* text) { return {AfxMenuKind::Popup, 0, text}; }
constexpr AfxMenuEntry AfxEndPopup() { return {AfxMenuKind::EndPopup, 0, nullptr}; }

// ---- accelerators ----------------------------------------------------------------

#define FVIRTKEY 0x01
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

// key is a virtual-key code (VK_ below, or 'A'..'Z' / '0'..'9') when FVIRTKEY is set.
struct AfxAccelEntry {
    BYTE flags;
    WORD key;
    UINT command;
};

#define VK_BACK 0x08
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_F6 0x75

// ---- tool bars -------------------------------------------------------------------

#define ID_SEPARATOR 0

// Buttons take their images in order from a horizontal strip in bitmap
// `bitmapId` (each buttonWidth x buttonHeight pixels); ID_SEPARATOR in `items`
// is a gap and takes no image. Pixels of RGB(192,192,192) are transparent.
struct AfxToolBarTemplate {
    int buttonWidth;
    int buttonHeight;
    UINT bitmapId;
    const UINT* items;
    size_t count;
};

// ---- dialog templates ---------------------------------------------------------------

enum class AfxControlKind {
    PushButton,  // BS_DEFPUSHBUTTON for the default button, BS_OWNERDRAW for a drawn one
    GroupBox,
    Edit,        // ES_ styles; WS_BORDER for a border
    Static,      // a text; SS_LEFT/SS_CENTER/SS_RIGHT, SS_NOPREFIX
    Picture,     // SS_BITMAP or SS_ICON with `image` the resource id
    ComboBox,    // CBS_DROPDOWNLIST, CBS_SORT; h is the dropped height
    ListView,    // LVS_REPORT ...
    ScrollBar,   // SBS_HORZ or SBS_VERT
    Progress,
};

// Positions and sizes in dialog units. `style` is the control's window style
// and must hold WS_VISIBLE for a control that is shown (WS_TABSTOP, WS_GROUP,
// WS_DISABLED, WS_BORDER, WS_VSCROLL as on Windows); id -1 (IDC_STATIC) for a
// control without an id.
struct AfxDlgItem {
    AfxControlKind kind;
    int id;
    const wchar_t* text;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle = 0;
    UINT image = 0;
};

#define IDC_STATIC (-1)

// A dialog or form. The font (face name and size in points) sets the dialog
// units: one horizontal unit is a quarter of the font's average character
// width, one vertical unit an eighth of its height, as Windows computes them
// at 96 pixels per inch. style: WS_POPUP | WS_CAPTION | WS_SYSMENU |
// DS_MODALFRAME for a dialog, WS_CHILD for a form. A dialog without
// WS_CAPTION has no title bar (and a border only with WS_BORDER). menu: the
// id of a registered menu that a modeless dialog (CDialog::Create) shows as
// its menu bar; its commands reach the dialog as WM_COMMAND. 0: none.
struct AfxDialogTemplate {
    const wchar_t* caption;
    const wchar_t* fontName;
    int fontPoints;
    DWORD style;
    int cx, cy;
    const AfxDlgItem* items;
    size_t count;
    DWORD exStyle = 0;
    UINT menu = 0;
};

// ---- images ---------------------------------------------------------------------------

enum class AfxImageKind { Bitmap, Icon };

// Pixels 0xAARRGGBB, rows top-down, width x height of them. The top byte is the
// pixel's opacity (0xFF opaque, not premultiplied) when `alpha` is set, as icons
// have it; otherwise it is ignored and the image is opaque. A look-up hands the
// pixels over: the framework makes its bitmaps of them and keeps no other copy.
struct AfxImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    bool alpha = false;
};

// Answers a look-up with true and fills `out`, or false when there is no such image.
using AfxImageLookup = bool (*)(AfxImageKind kind, UINT id, AfxImage* out);

// ---- registration -----------------------------------------------------------------------

void AfxRegisterStrings(const AfxStringEntry* entries, size_t count);
void AfxRegisterMenu(UINT id, const AfxMenuEntry* entries, size_t count);
void AfxRegisterAccelerators(UINT id, const AfxAccelEntry* entries, size_t count);
void AfxRegisterToolBar(UINT id, const AfxToolBarTemplate& bar);
void AfxRegisterDialog(UINT id, const AfxDialogTemplate& dialog);
void AfxSetImageSource(AfxImageLookup lookup);

template <size_t N> void AfxRegisterStrings(const AfxStringEntry (&entries)[N]) { AfxRegisterStrings(entries, N); }
template <size_t N> void AfxRegisterMenu(UINT id, const AfxMenuEntry (&entries)[N]) { AfxRegisterMenu(id, entries, N); }
template <size_t N> void AfxRegisterAccelerators(UINT id, const AfxAccelEntry (&entries)[N]) { AfxRegisterAccelerators(id, entries, N); }

