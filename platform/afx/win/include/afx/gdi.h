// Drawing: device contexts and the objects selected into them.
//
// All drawing happens on the user-interface thread. A device context, font or
// bitmap used from another thread (a reader thread drawing what it received)
// hands each operation to the user-interface thread and waits for it, like
// SendMessage; so the two threads must not use one context at the same time,
// and a thread that draws must not hold a lock the user-interface thread waits for.
//
// Windows that the program draws keep what was drawn in a picture of their
// client area: CPaintDC and CClientDC draw into that picture, and the screen
// shows it; the picture can be read back (AfxTestReadPixel of the test library, afx/testing.h).
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "afx/cstring.h"
#include "afx/msgmap.h"
#include "afx/resources.h"

class wxDC;
class wxBitmap;
typedef struct _cairo_surface cairo_surface_t;
class wxFont;
class CWnd;
namespace afxwin {
class PrinterDevice;
class SurfaceDrawing;
}

#define PS_SOLID 0
#define PS_DOT 2

#define TRANSPARENT 1

#define SRCCOPY 0x00CC0020u

#define MM_TEXT 1

#define NULL_BRUSH 5

#define HORZRES 8
#define VERTRES 10
#define LOGPIXELSX 88
#define LOGPIXELSY 90


#define FW_NORMAL 400
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_SWISS 0x20
#define LF_FACESIZE 32


struct LOGFONT {
    LONG lfHeight;   // < 0: character height in pixels; > 0: cell height; 0: default
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
};
typedef TEXTMETRIC* LPTEXTMETRIC;

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    ~CGdiObject() override;
    // TRUE when the object held something; the object is then empty again.
    BOOL DeleteObject();
    operator HGDIOBJ() const { return GetSafeHandle(); }
    bool IsNull() const { return !m_created; }

protected:
    CGdiObject() = default;

private:
    friend class CPen;
    friend class CBrush;
    friend class CFont;
    friend class CBitmap;
    HGDIOBJ GetSafeHandle() const;
    virtual void ReleaseContents() = 0;
    bool m_created = false;
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    ~CPen() override;
    operator HPEN() const { return reinterpret_cast<HPEN>(GetSafeHandle()); }
    static CPen* FromHandle(HPEN pen) { return reinterpret_cast<CPen*>(pen); }

    int m_width = 1;

private:
    friend struct afxwin::Internals;
    BOOL CreatePen(int style, int width, COLORREF color);
    void ReleaseContents() override {}
    int m_style = PS_SOLID;
    COLORREF m_color = 0;
};

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    ~CBrush() override;
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return reinterpret_cast<HBRUSH>(GetSafeHandle()); }
    static CBrush* FromHandle(HBRUSH brush) { return reinterpret_cast<CBrush*>(brush); }

private:
    friend class CDC;
    friend struct afxwin::Internals;
    BOOL CreateStockHollow();
    void ReleaseContents() override {}
    COLORREF m_color = 0;
    bool m_hollow = false;
};

// A brush made outside any object (the program owns it; DeleteObject frees it).
HBRUSH CreateSolidBrush(COLORREF color);
BOOL DeleteObject(HGDIOBJ object);

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    CFont();
    ~CFont() override;
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName);
    operator HFONT() const { return reinterpret_cast<HFONT>(GetSafeHandle()); }
    static CFont* FromHandle(HFONT font) { return reinterpret_cast<CFont*>(font); }

private:
    friend class CDC;
    friend struct afxwin::Internals;
    // pointSize in tenths of a point, at 96 pixels per inch.
    BOOL CreatePointFont(int pointSize, LPCTSTR faceName, class CDC* dc = nullptr);
    int GetLogFont(LOGFONT* out) const;
    // The wx font; valid while the object holds a font.
    const wxFont& WxFont() const;
    void ReleaseContents() override;
    LOGFONT m_logFont{};
    std::unique_ptr<wxFont> m_font;
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap();
    ~CBitmap() override;
    // From the application's image source (AfxSetImageSource); FALSE when it has no such bitmap.
    BOOL LoadBitmap(UINT id);
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    BOOL CreateBitmap(int width, int height);
    CSize GetBitmapDimension() const;
    operator HBITMAP() const { return reinterpret_cast<HBITMAP>(GetSafeHandle()); }
    static CBitmap* FromHandle(HBITMAP bitmap) { return reinterpret_cast<CBitmap*>(bitmap); }

private:
    friend class CDC;
    friend struct afxwin::Internals;
    wxBitmap& WxBitmap();
    void ReleaseContents() override;
    friend class CDC;
    // Where the display keeps the pixels of a bitmap compatible with a
    // window's context (on X a server pixmap); null for one the program keeps.
    cairo_surface_t* DisplaySurface() const { return m_surface; }

    std::unique_ptr<wxBitmap> m_bitmap;
    cairo_surface_t* m_surface = nullptr;
    CSize m_surfaceSize;
};

// Printing. A printer device context draws its pages at the printer's
// resolution (GetDeviceCaps LOGPIXELSX / LOGPIXELSY; HORZRES x VERTRES pixels of
// printable area, (0, 0) at its top-left corner) and sends each document, when
// EndDoc ends it, to a CUPS queue or writes it to a PDF file.
#define SP_ERROR (-1)

struct DOCINFO {
    int cbSize;
    LPCTSTR lpszDocName;
    LPCTSTR lpszOutput;     // must be null: output goes where the context was made for
    LPCTSTR lpszDatatype;
    DWORD fwType;
};

#define DM_COPIES 0x00000100u

// The settings of a printer that a program may give: the fields named in
// dmFields count, the others are left as the printer has them.
struct DEVMODE {
    DWORD dmFields;
    short dmPaperLength;    // tenths of a millimetre
    short dmPaperWidth;     // tenths of a millimetre
    short dmCopies;
    short dmPrintQuality;   // dots per inch across (and down, without DM_YRESOLUTION)
    short dmYResolution;    // dots per inch down
    short dmCollate;        // DMCOLLATE_TRUE: copies one whole document after another
};

// A device context. Plain CDC objects are made compatible (memory) contexts
// with CreateCompatibleDC; CPaintDC and CClientDC draw on a window. The state
// (selected objects, colours, modes) is the context's own; SaveDC / RestoreDC
// keep a stack of it. Objects selected must outlive their selection.
class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC();
    ~CDC() override;

    BOOL CreateCompatibleDC(CDC* dc);
    // A printer context. driver null (or "WINSPOOL"): device is the name of a
    // CUPS queue, FALSE when CUPS does not know it. driver "PDF": output is the
    // path of the PDF file that each document writes (an existing file is
    // replaced only when a document ends well); device is not used. init may
    // give copies, collation, paper size and resolution (default: the queue's
    // own; A4 at 300 dpi for a file). A queue is asked for the copies; a file
    // holds them, each document whole after another when collated (the
    // default), else each page as many times in turn.
    BOOL CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const DEVMODE* init);
    // Deletes what the object holds: its own context, or an attached handle.
    BOOL DeleteDC();
    // Takes over a context handle (made by ::CreateDC); FALSE for null or when
    // one is held already. Detach gives it back without deleting it.
    BOOL Attach(HDC dc);
    HDC Detach();

    // A printer context's document and pages: each returns a value above 0,
    // or SP_ERROR (also on a context that is not a printer's). StartDoc
    // returns the job number. A document that fails is abandoned: nothing of
    // it is printed and a file keeps what it held before.
    int StartDoc(const DOCINFO* info);
    int StartDoc(LPCTSTR docName);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    // Changes a printer context's settings between documents (copies, paper,
    // resolution); FALSE inside a document or for another context.
    BOOL ResetDC(const DEVMODE* devMode);
    // Set by the program while it prints through the context.
    BOOL m_bPrinting = FALSE;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    static CDC* FromHandle(HDC dc) { return reinterpret_cast<CDC*>(dc); }

    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    // NULL_BRUSH, NULL_PEN, BLACK_PEN, WHITE_BRUSH, ... ; returns the previous one.
    CGdiObject* SelectStockObject(int index);

    int SaveDC();
    // -1 restores the last saved state; n restores state n and drops later ones.
    BOOL RestoreDC(int savedDC);

    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    // Drawing is in device pixels from the origin (MM_TEXT); returns the
    // previous mode. Another mode is not offered: 0, and checked builds stop
    // there, naming the call.
    int SetMapMode(int mode);
    int GetDeviceCaps(int index) const;

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Polyline(const POINT* points, int count);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    void FillSolidRect(LPCRECT r, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);

    BOOL TextOut(int x, int y, LPCTSTR text, int length);
    BOOL TextOut(int x, int y, const CString& text);
    int DrawText(const CString& text, LPRECT r, UINT format);
    CSize GetTextExtent(LPCTSTR text, int length) const;
    CSize GetTextExtent(const CString& text) const;
    BOOL GetTextMetrics(LPTEXTMETRIC metrics) const;

    // Copies w x h pixels from (xSrc, ySrc) of src to (x, y); SRCCOPY, BLACKNESS and
    // WHITENESS are offered. Another code: FALSE, and
    // checked builds stop there, naming the call.
    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xSrc, int ySrc, DWORD rop);

private:
    friend class CPaintDC;
    friend class CClientDC;
    friend struct afxwin::Internals;
    COLORREF GetTextColor() const { return m_state.textColor; }
    // TA_LEFT, TA_CENTER or TA_RIGHT with TA_TOP, TA_BOTTOM or TA_BASELINE.
    UINT SetTextAlign(UINT flags);
    // The colour drawn at (x, y) of a memory context's bitmap or a window's picture;
    // CLR_INVALID outside.
    COLORREF GetPixel(int x, int y) const;

    HDC m_hDC = nullptr;
    struct State {
        CPen* pen = nullptr;
        CBrush* brush = nullptr;
        CFont* font = nullptr;
        CBitmap* bitmap = nullptr;
        COLORREF textColor = 0;
        COLORREF bkColor = 0xFFFFFF;
        int bkMode = 2;   // OPAQUE
        UINT textAlign = 0;
    };
    void Attach(wxDC* dc, bool owned);
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();
    void ApplyState();
    // Widens the area this context has drawn with what wx does not count itself
    // (copies and pictures); a window's context shows that area when it ends.
    void NoteDrawn(int x, int y, int cx, int cy);

    wxDC* m_dc = nullptr;
    bool m_ownsDC = false;
    wxDC* m_memory = nullptr;   // the wx memory context of a memory context (owned)
    State m_state;
    CPoint m_pos;
    std::vector<std::pair<State, CPoint>> m_savedStates;
    int m_logPixels = 96;
    afxwin::PrinterDevice* m_printer = nullptr;
    bool m_ownsPrinter = false;
    bool m_attached = false;   // m_hDC is another object's handle
    CRect m_drawn;
    bool m_showsWindow = false;   // draws on a window's picture (paint and client contexts)

private:
    friend class CPaintDC;
    friend class CClientDC;

    // Where texts are measured: a printer or memory context itself; for a
    // window's picture (or no context) a memory context, as the screen's texts
    // are drawn as pictures made in one.
    wxDC& Measuring() const;

    // A memory context draws on a bitmap the display keeps as window contexts
    // draw on their window's picture, and on any other bitmap through the wx
    // memory context.
    void LeaveDisplaySurface();

    // What m_dc is, for a picture the display keeps (a window's or a bitmap's).
    std::shared_ptr<afxwin::SurfaceDrawing> m_drawing;
};

// A printer context as a handle (see CDC::CreateDC); null on failure. The
// caller deletes it with DeleteDC.
HDC CreateDC(LPCTSTR driver, LPCTSTR device, LPCTSTR output, const DEVMODE* init);
// Deletes a context made by CreateDC; FALSE for any other handle.
BOOL DeleteDC(HDC dc);


// Draws on a window's picture during WM_PAINT; marks the window painted.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

private:
    CWnd* m_wnd;
    HWND m_hwnd = nullptr;
};

// Draws on a window's picture at any time (on the user-interface thread); the
// screen shows it when the context ends.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    CWnd* m_wnd;
    HWND m_hwnd = nullptr;
};
