#pragma once
// Typed access to a list view control, report view first.
#include "framework/SubclassWnd.h"

#include <commctrl.h>

#include <string>

namespace kw::fw {

class CListCtrl : public CSubclassWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetColumnCount() const {
        HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
        return header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    }
    int InsertColumn(int index, const std::wstring& text, int format, int width) const {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = format;
        column.cx = width;
        column.pszText = const_cast<wchar_t*>(text.c_str());
        column.iSubItem = index;
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
    }
    std::wstring GetItemText(int item, int column) const {
        std::wstring text(1024, L'\0');
        LVITEMW lv{};
        lv.iSubItem = column;
        lv.pszText = text.data();
        lv.cchTextMax = static_cast<int>(text.size());
        const auto length = SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
        text.resize(static_cast<size_t>(length > 0 ? length : 0));
        return text;
    }
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
    }
    void SetItemState(int item, UINT state, UINT mask) const {
        LVITEMW lv{};
        lv.stateMask = mask;
        lv.state = state;
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
    }
    bool GetCheck(int item) const { return ((GetItemState(item, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1; }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    void SetExtendedStyle(DWORD style) const { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    bool GetSubItemRect(int item, int column, int area, RECT& rect) const {
        rect = {};
        rect.top = column;
        rect.left = area;
        return SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)) != 0;
    }
    bool EnsureVisible(int item) const { return SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE) != 0; }
    int GetNextSelected(int after = -1) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
    }
};

}  // namespace kw::fw
