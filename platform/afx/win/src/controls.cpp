// Buttons, statics and edit boxes.
#include <wx/statbmp.h>

#include "internal.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)

namespace {

using afxwin::As;
using afxwin::ImplOf;

// Creates a control and attaches `self` to it in place of the generic object.
BOOL CreateFor(CWnd* self, AfxControlKind kind, LPCTSTR text, DWORD style, const RECT& r, CWnd* parent, UINT id)
{
    wxWindow* pw = parent ? afxwin::Internals::Wx(parent) : nullptr;
    if (!pw || self->m_hWnd)
        return FALSE;
    wxRect rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    wxWindow* w = afxwin::CreateControl(pw, kind, static_cast<int>(id), text, rect, style, 0, 0, nullptr);
    return afxwin::Internals::SubclassWindow(self, afxwin::ToHwnd(w));
}

}  // namespace

// ---- CButton ----

BOOL CButton::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return afxwin::OnUi([&]() -> BOOL {
        AfxControlKind kind = AfxControlKind::PushButton;
        if ((style & BS_TYPEMASK) == BS_GROUPBOX)
            kind = AfxControlKind::GroupBox;
        return CreateFor(this, kind, text, style, rect, parent, id);
    });
}

UINT CButton::GetState() const
{
    return afxwin::OnUi([&]() -> UINT {
        AfxWindowImpl* impl = ImplOf(this);
        return impl && impl->pressed ? BST_PUSHED : 0;
    });
}

// ---- CStatic ----

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return afxwin::OnUi([&]() -> BOOL {
        UINT type = style & SS_TYPEMASK;
        AfxControlKind kind = (type == SS_BITMAP || type == SS_ICON) ? AfxControlKind::Picture : AfxControlKind::Static;
        return CreateFor(this, kind, text, style, rect, parent, id);
    });
}

// ---- CEdit ----

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return afxwin::OnUi([&]() -> BOOL {
        return CreateFor(this, AfxControlKind::Edit, L"", style, rect, parent, id);
    });
}

void CEdit::SetSel(int start, int end, BOOL)
{
    afxwin::OnUi([&]() {
        if (auto* t = As<wxTextCtrl>(this))
            t->SetSelection(start, end);
    });
}
