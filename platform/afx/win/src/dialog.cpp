#include <functional>
#include <string>

#include "internal.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CUserException, CException)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace afxwin {

namespace {

long TemplateFrameStyle(const AfxDialogTemplate& t)
{
    long style = (t.style & WS_CAPTION) == WS_CAPTION ? wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX
                 : (t.style & WS_BORDER) ? wxBORDER_SIMPLE : wxBORDER_NONE;
    if (t.style & WS_THICKFRAME)
        style |= wxRESIZE_BORDER;
    return style;
}

wxWindow* OwnerOf(CWnd* parent)
{
    wxWindow* parentWx = parent ? afxwin::Internals::Wx(parent) : nullptr;
    if (!parentWx && AfxGetMainWnd())
        parentWx = afxwin::Internals::Wx(AfxGetMainWnd());
    return parentWx;
}

// Gives the window of a dialog template its controls and the dialog's
// keyboard and close handling, and attaches it to `self`.
void SetUpDialogWindow(CDialog* self, wxTopLevelWindow* dlg, const AfxDialogTemplate& t)
{
    AfxWindowImpl* impl = Register(dlg, self);
    impl->style = t.style;
    impl->exStyle = t.exStyle;
    impl->drawn = true;
    BindDrawnEvents(dlg);
    KeepShownStateTrue(dlg);
    wxSize size = CreateTemplateControls(self, dlg, t);
    dlg->SetClientSize(size);
    dlg->Bind(wxEVT_CLOSE_WINDOW, [dlg](wxCloseEvent& e) {
        if (Lookup(dlg))
            Dispatch(ToHwnd(dlg), WM_CLOSE, 0, 0);
        else
            e.Skip();
    });
    dlg->Bind(wxEVT_CHAR_HOOK, [dlg](wxKeyEvent& e) {
        HWND hwnd = ToHwnd(dlg);
        if (e.GetKeyCode() == WXK_ESCAPE) {
            ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        if (e.GetKeyCode() == WXK_RETURN || e.GetKeyCode() == WXK_NUMPAD_ENTER) {
            wxWindow* focus = wxWindow::FindFocus();
            auto* text = dynamic_cast<wxTextCtrl*>(focus);
            if (!(text && text->IsMultiLine())) {
                // Enter presses the focused push button, else the default one, else OK.
                int id = IDOK;
                AfxWindowImpl* focused = dynamic_cast<wxButton*>(focus) ? Lookup(focus) : nullptr;
                if (focused && focused->isControl) {
                    id = focused->id;
                } else {
                    for (wxWindow* child : dlg->GetChildren()) {
                        AfxWindowImpl* c = Lookup(child);
                        if (c && c->kind == AfxControlKind::PushButton && (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                            id = c->id;
                    }
                }
                ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
                return;
            }
        }
        e.Skip();
    });
    dlg->Bind(wxEVT_SIZE, [dlg](wxSizeEvent& e) {
        wxSize s = dlg->GetClientSize();
        Dispatch(ToHwnd(dlg), WM_SIZE, SIZE_RESTORED, MAKELPARAM(s.x, s.y));
        e.Skip();
    });
}

}  // namespace

// Makes the window of a dialog template as a wx dialog, for a modal run.
wxDialog* CreateDialogWindow(CDialog* self, const AfxDialogTemplate& t, CWnd* parent)
{
    auto* dlg = new wxDialog(OwnerOf(parent), wxID_ANY, ToWx(t.caption), wxDefaultPosition, wxDefaultSize,
                             TemplateFrameStyle(t));
    SetUpDialogWindow(self, dlg, t);
    return dlg;
}

// The window of a modeless dialog: a wx frame when the template has a menu
// bar (wx puts menu bars on frames only), else a wx dialog.
wxTopLevelWindow* CreateModelessDialogWindow(CDialog* self, const AfxDialogTemplate& t, CWnd* parent)
{
    if (t.menu == 0)
        return CreateDialogWindow(self, t, parent);
    auto* frame = new wxFrame(parent ? afxwin::Internals::Wx(parent) : nullptr, wxID_ANY, ToWx(t.caption), wxDefaultPosition,
                              wxDefaultSize, TemplateFrameStyle(t));
    std::unique_ptr<CMenu> menu = AttachDialogMenu(frame, t.menu);
    SetUpDialogWindow(self, frame, t);
    if (AfxWindowImpl* impl = Lookup(frame))
        impl->menuBar = std::move(menu);
    return frame;
}

}  // namespace afxwin

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nTemplateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog()
{
    if (m_hWnd && afxwin::IsUiThread())
        DestroyWindow();
}

INT_PTR CDialog::DoModal()
{
    return afxwin::OnUi([&]() -> INT_PTR {
        const AfxDialogTemplate* t = AfxFindDialog(m_nTemplateId);
        if (!t || m_hWnd)
            return -1;
        wxDialog* dlg = afxwin::CreateDialogWindow(this, *t, m_pParentWnd);
        HWND hwnd = m_hWnd;
        m_modalResult = IDCANCEL;
        dlg->CentreOnParent();
        if (OnInitDialog() == FALSE) {
            // The program chose the focus itself.
        }
        afxwin::ApplyControlColours(this);
        if (afxwin::HasModalAnswerer()) {
            afxwin::RunSoon([this, hwnd] {
                if (!afxwin::IsLive(hwnd) || !m_modalRunning)
                    return;
                AfxModalRequest request{AfxModalRequest::Dialog, std::wstring(), std::wstring(), 0, this};
                CString caption;
                GetWindowText(caption);
                request.text = caption.GetString();
                int answer = 0;
                if (afxwin::AnswerModal(request, &answer) && answer != 0 && afxwin::IsLive(hwnd) && m_modalRunning)
                    ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
            });
        }
        m_modalRunning = true;
        if (afxwin::IsLive(hwnd) && m_modalRunning)
            dlg->ShowModal();
        m_modalRunning = false;
        if (afxwin::IsLive(hwnd)) {
            afxwin::DetachTree(dlg);
            dlg->Destroy();
        }
        m_hWnd = nullptr;
        return m_modalResult;
    });
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    auto* window = dynamic_cast<wxTopLevelWindow*>(afxwin::Internals::Wx(this));
    if (!window)
        return;
    auto* dlg = dynamic_cast<wxDialog*>(window);
    if (m_modalRunning && dlg && dlg->IsModal()) {
        m_modalRunning = false;
        dlg->EndModal(result);
    } else if (m_modalRunning) {
        m_modalRunning = false;   // ended before its loop started
    } else {
        window->Hide();
    }
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    return afxwin::OnUi([&]() -> BOOL {
        const AfxDialogTemplate* t = AfxFindDialog(templateId);
        if (!t || m_hWnd)
            return FALSE;
        m_nTemplateId = templateId;
        m_pParentWnd = parent;
        wxTopLevelWindow* dlg = afxwin::CreateModelessDialogWindow(this, *t, parent);
        HWND hwnd = m_hWnd;
        OnInitDialog();
        if (!afxwin::IsLive(hwnd))
            return FALSE;
        afxwin::ApplyControlColours(this);
        if (t->style & WS_VISIBLE)
            dlg->Show();
        return TRUE;
    });
}

BOOL CDialog::DestroyWindow()
{
    if (m_modalRunning) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    return CWnd::DestroyWindow();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    if (wxWindow* w = afxwin::Internals::Wx(this)) {
        for (wxWindow* child : w->GetChildren()) {
            AfxWindowImpl* impl = afxwin::Lookup(child);
            if (impl && impl->isControl && (impl->style & WS_TABSTOP) && child->IsShown() && child->IsEnabled()) {
                child->SetFocus();
                break;
            }
        }
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    return CWnd::OnCommand(wParam, lParam);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        // The close box of a dialog is its Cancel.
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

// ---- data exchange ----

CDataExchange::CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    CWnd* item = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    m_hWndLastControl = item ? item->m_hWnd : nullptr;
    m_bEditLastControl = FALSE;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND hwnd = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return hwnd;
}

void CDataExchange::Fail()
{
    if (CWnd* item = CWnd::FromHandle(m_hWndLastControl)) {
        afxwin::Internals::SetFocus(item);
        if (m_bEditLastControl)
            static_cast<CEdit*>(item)->SetSel(0, -1);
    }
    throw new CUserException();
}

namespace {

CWnd* Control(CDataExchange* pDX, int id, bool edit)
{
    HWND hwnd = edit ? afxwin::Internals::PrepareEditCtrl(pDX, id) : afxwin::Internals::PrepareCtrl(pDX, id);
    return CWnd::FromHandle(hwnd);
}

void Complain(CDataExchange* pDX, const CString& text)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    afxwin::Internals::Fail(pDX);
}

bool ParseInteger(CString text, long long low, long long high, long long* out)
{
    text.Trim();
    if (text.IsEmpty())
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    long long v = std::wcstoll(text, &end, 10);
    if (errno != 0 || !end || *end != 0 || v < low || v > high)
        return false;
    *out = v;
    return true;
}

CString RangeMessage(LPCWSTR format, const CString& low, const CString& high)
{
    wxString text(format);
    text.Replace(L"%1", afxwin::ToWx(low));
    text.Replace(L"%2", afxwin::ToWx(high));
    return afxwin::FromWx(text);
}

template <class T> void ExchangeInteger(CDataExchange* pDX, int id, T& value, long long low, long long high, LPCWSTR fmt)
{
    CWnd* item = Control(pDX, id, true);
    if (!item)
        return;
    if (afxwin::Internals::SavesAndValidates(pDX)) {
        CString text;
        afxwin::Internals::WindowText(item, text);
        long long v = 0;
        if (!ParseInteger(text, low, high, &v))
            Complain(pDX, AFX_IDP_PARSE_INT);
        value = static_cast<T>(v);
    } else {
        CString text;
        text.Format(fmt, value);
        item->SetWindowText(text);
    }
}

// A saved value outside [minVal, maxVal] is refused with the range in the message.
template <class T> void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal)
{
    if (!afxwin::Internals::SavesAndValidates(pDX) || (value >= minVal && value <= maxVal))
        return;
    const std::wstring low = std::to_wstring(minVal), high = std::to_wstring(maxVal);
    Complain(pDX, RangeMessage(AFX_IDP_PARSE_INT_RANGE, CString(low.c_str()), CString(high.c_str())));
}

}  // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND hwnd = afxwin::Internals::PrepareCtrl(pDX, id);
    if (hwnd)
        afxwin::Internals::SubclassWindow(&control, hwnd);
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    ExchangeInteger(pDX, id, value, INT32_MIN, INT32_MAX, L"%d");
}

void DDX_Text(CDataExchange* pDX, int id, UINT& value)
{
    ExchangeInteger(pDX, id, value, 0, UINT32_MAX, L"%u");
}

void DDX_Text(CDataExchange* pDX, int id, long& value)
{
    ExchangeInteger(pDX, id, value, INT32_MIN, INT32_MAX, L"%ld");
}

void DDX_Text(CDataExchange* pDX, int id, double& value)
{
    CWnd* item = Control(pDX, id, true);
    if (!item)
        return;
    if (afxwin::Internals::SavesAndValidates(pDX)) {
        CString text;
        afxwin::Internals::WindowText(item, text);
        text.Trim();
        wchar_t* end = nullptr;
        double v = std::wcstod(text, &end);
        if (text.IsEmpty() || !end || *end != 0)
            Complain(pDX, AFX_IDP_PARSE_REAL);
        value = v;
    } else {
        CString text;
        text.Format(L"%.*g", 15, value);
        item->SetWindowText(text);
    }
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    CWnd* item = Control(pDX, id, true);
    if (!item)
        return;
    if (afxwin::Internals::SavesAndValidates(pDX))
        afxwin::Internals::WindowText(item, value);
    else
        item->SetWindowText(value);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

CSize AfxDialogBaseUnits(const AfxDialogTemplate& dialogTemplate)
{
    wxSize base = afxwin::DialogBaseUnits(afxwin::TemplateFont(dialogTemplate));
    return CSize(base.x, base.y);
}

CRect AfxDialogUnitsToPixels(CSize baseUnits, const RECT& r)
{
    return CRect(MulDiv(r.left, baseUnits.cx, 4), MulDiv(r.top, baseUnits.cy, 8), MulDiv(r.right, baseUnits.cx, 4),
                 MulDiv(r.bottom, baseUnits.cy, 8));
}

void CDialog::MapDialogRect(LPRECT rect) const
{
    const AfxDialogTemplate* t = AfxFindDialog(m_nTemplateId);
    if (!rect || !t)
        return;
    *rect = AfxDialogUnitsToPixels(AfxDialogBaseUnits(*t), *rect);
}
