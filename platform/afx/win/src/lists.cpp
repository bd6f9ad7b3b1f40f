// Combo boxes, list boxes and report lists.
#include <wx/listctrl.h>

#include "internal.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

using afxwin::As;
using afxwin::ImplOf;

}  // namespace

// ---- CComboBox ----

namespace {

wxItemContainer* Items(const CWnd* wnd)
{
    return dynamic_cast<wxItemContainer*>(afxwin::Internals::Wx(wnd));
}

int InsertAt(wxItemContainer* items, int index, LPCTSTR text)
{
    if (!items)
        return CB_ERR;
    int n = static_cast<int>(items->GetCount());
    if (index < 0 || index > n)
        index = index < 0 ? n : CB_ERR;
    if (index == CB_ERR)
        return CB_ERR;
    return items->Insert(afxwin::ToWx(text), static_cast<unsigned>(index));
}

int SetSelection(wxItemContainer* items, int index)
{
    if (!items)
        return CB_ERR;
    if (index < 0 || index >= static_cast<int>(items->GetCount())) {
        items->SetSelection(wxNOT_FOUND);
        return CB_ERR;
    }
    items->SetSelection(index);
    return index;
}

}  // namespace

int CComboBox::InsertString(int index, LPCTSTR text)
{
    return afxwin::OnUi([&]() -> int { return InsertAt(Items(this), index, text); });
}

int CComboBox::GetCount() const
{
    return afxwin::OnUi([&]() -> int {
        wxItemContainer* items = Items(this);
        return items ? static_cast<int>(items->GetCount()) : CB_ERR;
    });
}

int CComboBox::GetCurSel() const
{
    return afxwin::OnUi([&]() -> int {
        wxItemContainer* items = Items(this);
        if (!items)
            return CB_ERR;
        int sel = items->GetSelection();
        return sel == wxNOT_FOUND ? CB_ERR : sel;
    });
}

int CComboBox::SetCurSel(int index)
{
    return afxwin::OnUi([&]() -> int { return SetSelection(Items(this), index); });
}

int CComboBox::GetLBText(int index, CString& text) const
{
    return afxwin::OnUi([&]() -> int {
        wxItemContainer* items = Items(this);
        if (!items || index < 0 || index >= static_cast<int>(items->GetCount())) {
            text.Empty();
            return CB_ERR;
        }
        text = afxwin::FromWx(items->GetString(static_cast<unsigned>(index)));
        return text.GetLength();
    });
}

// ---- CListCtrl ----

namespace afxwin {

// wx keeps the rows in a child window of its own (beside the column heads)
// and offers no call for it: it is the tallest child.
wxWindow* ListRowsWindow(wxWindow* list)
{
    wxWindow* rows = list;
    int height = -1;
    for (wxWindow* child : list->GetChildren()) {
        if (child->GetSize().y > height) {
            rows = child;
            height = child->GetSize().y;
        }
    }
    return rows;
}

}  // namespace afxwin

int CListCtrl::InsertColumn(int col, LPCTSTR heading, int format, int width, int)
{
    return afxwin::OnUi([&]() -> int {
        auto* l = As<wxListCtrl>(this);
        if (!l)
            return -1;
        wxListColumnFormat f = format == LVCFMT_RIGHT ? wxLIST_FORMAT_RIGHT
                               : format == LVCFMT_CENTER ? wxLIST_FORMAT_CENTRE : wxLIST_FORMAT_LEFT;
        long r = l->InsertColumn(col, afxwin::ToWx(heading), f, width < 0 ? wxLIST_AUTOSIZE_USEHEADER : width);
        return static_cast<int>(r);
    });
}

int CListCtrl::GetColumnCount() const
{
    return afxwin::OnUi([&]() -> int {
        auto* l = As<wxListCtrl>(this);
        return l ? l->GetColumnCount() : 0;
    });
}

int CListCtrl::InsertItem(int item, LPCTSTR text)
{
    return afxwin::OnUi([&]() -> int {
        auto* l = As<wxListCtrl>(this);
        if (!l || l->GetColumnCount() == 0)
            return -1;
        long n = l->GetItemCount();
        if (item < 0 || item > n)
            item = static_cast<int>(n);
        return static_cast<int>(l->InsertItem(item, afxwin::ToWx(text)));
    });
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCTSTR text)
{
    return afxwin::OnUi([&]() -> BOOL {
        auto* l = As<wxListCtrl>(this);
        if (!l || item < 0 || item >= l->GetItemCount() || subItem < 0 || subItem >= l->GetColumnCount())
            return FALSE;
        l->SetItem(item, subItem, afxwin::ToWx(text));
        return TRUE;
    });
}

CString CListCtrl::GetItemText(int item, int subItem) const
{
    return afxwin::OnUi([&]() -> CString {
        auto* l = As<wxListCtrl>(this);
        if (!l || item < 0 || item >= l->GetItemCount() || subItem < 0 || subItem >= l->GetColumnCount())
            return CString();
        return afxwin::FromWx(l->GetItemText(item, subItem));
    });
}

BOOL CListCtrl::DeleteAllItems()
{
    return afxwin::OnUi([&]() -> BOOL {
        auto* l = As<wxListCtrl>(this);
        return l && l->DeleteAllItems();
    });
}

int CListCtrl::GetItemCount() const
{
    return afxwin::OnUi([&]() -> int {
        auto* l = As<wxListCtrl>(this);
        return l ? static_cast<int>(l->GetItemCount()) : 0;
    });
}

DWORD CListCtrl::GetExtendedStyle() const
{
    return afxwin::OnUi([&]() -> DWORD {
        AfxWindowImpl* impl = ImplOf(this);
        return impl ? impl->exStyle : 0;
    });
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle)
{
    return afxwin::OnUi([&]() -> DWORD {
        AfxWindowImpl* impl = ImplOf(this);
        if (!impl)
            return 0;
        DWORD old = impl->exStyle;
        impl->exStyle = exStyle;
        return old;
    });
}

int CListCtrl::GetNextItem(int start, int flags) const
{
    return afxwin::OnUi([&]() -> int {
        auto* l = As<wxListCtrl>(this);
        if (!l)
            return -1;
        return static_cast<int>(l->GetNextItem(start, wxLIST_NEXT_ALL,
                                               (flags & LVNI_SELECTED) ? wxLIST_STATE_SELECTED : wxLIST_STATE_DONTCARE));
    });
}

