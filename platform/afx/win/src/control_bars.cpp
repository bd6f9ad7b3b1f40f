// The frame's tool bar and status bar.
#include <wx/toolbar.h>

#include "internal.h"
#include "resource_store.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

namespace afxwin {
CString CommandPrompt(UINT id);
CString CommandToolTip(UINT id);
}  // namespace afxwin

// ---- tool bar ----

BOOL CToolBar::CreateEx(CWnd* parent, DWORD, DWORD style, CRect, UINT id)
{
    auto* frame = parent ? dynamic_cast<wxFrame*>(afxwin::Internals::Wx(parent)) : nullptr;
    if (!frame || m_hWnd)
        return FALSE;
    wxToolBar* bar = frame->CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT | wxBORDER_NONE, wxID_ANY);
    AfxWindowImpl* impl = afxwin::Register(bar, this);
    impl->style = style;
    impl->id = static_cast<int>(id);
    if (auto* f = dynamic_cast<CFrameWnd*>(parent))
        f->m_toolBar = this;
    if (!(style & WS_VISIBLE))
        bar->Hide();
    return TRUE;
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), id);
}

BOOL CToolBar::LoadToolBar(UINT id)
{
    auto* bar = dynamic_cast<wxToolBar*>(afxwin::Internals::Wx(this));
    const AfxToolBarTemplate* t = AfxFindToolBar(id);
    if (!bar || !t)
        return FALSE;
    wxBitmap strip = afxwin::ImageBitmap(AfxImageKind::Bitmap, t->bitmapId);
    bar->SetToolBitmapSize(wxSize(t->buttonWidth, t->buttonHeight));
    m_ids.clear();
    int image = 0;
    for (size_t i = 0; i < t->count; ++i) {
        UINT cmd = t->items[i];
        m_ids.push_back(cmd);
        if (cmd == ID_SEPARATOR) {
            bar->AddSeparator();
            continue;
        }
        wxBitmap bmp(t->buttonWidth, t->buttonHeight, 24);
        wxRect cell(image * t->buttonWidth, 0, t->buttonWidth, t->buttonHeight);
        if (strip.IsOk() && cell.GetRight() < strip.GetWidth() && cell.GetBottom() < strip.GetHeight())
            bmp = strip.GetSubBitmap(cell);
        // The strip's light grey is the button face, which shows through, as on Windows.
        bmp.SetMask(new wxMask(bmp, wxColour(192, 192, 192)));
        ++image;
        int tool = afxwin::WxCommandId(cmd);
        bar->AddTool(tool, afxwin::CommandToolTip(cmd).GetString(), bmp, afxwin::CommandToolTip(cmd).GetString(), wxITEM_NORMAL);
        bar->SetToolLongHelp(tool, afxwin::CommandPrompt(cmd).GetString());
    }
    bar->Realize();
    return TRUE;
}

int CToolBar::GetCount() const
{
    return static_cast<int>(m_ids.size());
}

UINT CToolBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_ids[static_cast<size_t>(index)] : 0;
}

BOOL CToolBar::IsButtonEnabled(UINT id) const
{
    auto* bar = dynamic_cast<wxToolBar*>(afxwin::Internals::Wx(this));
    return bar && bar->GetToolEnabled(afxwin::WxCommandId(id));
}

void CToolBar::UpdateButtons()
{
    auto* bar = dynamic_cast<wxToolBar*>(afxwin::Internals::Wx(this));
    CFrameWnd* frame = GetParentFrame();
    if (!bar || !frame)
        return;
    for (UINT id : m_ids) {
        if (id == ID_SEPARATOR)
            continue;
        CCmdUI ui;
        ui.m_nID = id;
        // Buttons without any handler are disabled, whatever the menu setting.
        ui.DoUpdate(frame, TRUE);
        int tool = afxwin::WxCommandId(id);
        if (ui.m_enabled >= 0 && bar->GetToolEnabled(tool) != (ui.m_enabled == 1))
            bar->EnableTool(tool, ui.m_enabled == 1);
        if (ui.m_checked >= 0 && bar->GetToolState(tool) != (ui.m_checked != 0))
            bar->ToggleTool(tool, ui.m_checked != 0);
    }
}

// ---- status bar ----

namespace {

const wchar_t* IndicatorText(UINT id)
{
    switch (id) {
    case ID_INDICATOR_CAPS: return L"CAP";
    case ID_INDICATOR_NUM: return L"NUM";
    case ID_INDICATOR_SCRL: return L"SCRL";
    default: return nullptr;
    }
}

bool IndicatorOn(UINT id, const afxwin::LockKeys& keys)
{
    switch (id) {
    case ID_INDICATOR_CAPS: return keys.caps;
    case ID_INDICATOR_NUM: return keys.num;
    case ID_INDICATOR_SCRL: return keys.scroll;
    default: return false;
    }
}

}  // namespace

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    auto* frame = parent ? dynamic_cast<wxFrame*>(afxwin::Internals::Wx(parent)) : nullptr;
    if (!frame || m_hWnd)
        return FALSE;
    wxStatusBar* bar = frame->CreateStatusBar(1, wxSTB_DEFAULT_STYLE, wxID_ANY);
    frame->SetStatusBarPane(0);
    AfxWindowImpl* impl = afxwin::Register(bar, this);
    impl->style = style;
    impl->id = static_cast<int>(id);
    if (auto* f = dynamic_cast<CFrameWnd*>(parent))
        f->m_statusBar = this;
    const HWND hwnd = m_hWnd;
    afxwin::WatchLockKeys(bar, [hwnd] {
        if (auto* self = dynamic_cast<CStatusBar*>(CWnd::FromHandle(hwnd)))
            self->UpdateIndicators();
    });
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    auto* bar = dynamic_cast<wxStatusBar*>(afxwin::Internals::Wx(this));
    if (!bar || !ids || count <= 0)
        return FALSE;
    m_ids.assign(ids, ids + count);
    // The message pane takes the rest; an indicator is a sunken pane as wide
    // as its text, empty while its key is off.
    std::vector<int> widths, styles;
    for (UINT id : m_ids) {
        const wchar_t* text = IndicatorText(id);
        widths.push_back(text ? bar->GetTextExtent(text).x + 12 : -1);
        styles.push_back(text ? wxSB_SUNKEN : wxSB_FLAT);
    }
    bar->SetFieldsCount(count, widths.data());
    bar->SetStatusStyles(count, styles.data());
    UpdateIndicators();
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int index, LPCTSTR text, BOOL)
{
    auto* bar = dynamic_cast<wxStatusBar*>(afxwin::Internals::Wx(this));
    if (!bar || index < 0 || index >= bar->GetFieldsCount())
        return FALSE;
    wxString s = afxwin::ToWx(text);
    if (bar->GetStatusText(index) != s)
        bar->SetStatusText(s, index);
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const
{
    auto* bar = dynamic_cast<wxStatusBar*>(afxwin::Internals::Wx(this));
    if (!bar || index < 0 || index >= bar->GetFieldsCount())
        return CString();
    return afxwin::FromWx(bar->GetStatusText(index));
}

void CStatusBar::UpdateIndicators()
{
    const afxwin::LockKeys keys = afxwin::CurrentLockKeys();
    for (size_t i = 0; i < m_ids.size(); ++i)
        if (const wchar_t* text = IndicatorText(m_ids[i]))
            SetPaneText(static_cast<int>(i), IndicatorOn(m_ids[i], keys) ? text : L"");
}
