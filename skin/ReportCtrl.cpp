#include "skin/ReportCtrl.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace kw::skin {

namespace {
// Posted to the list when the editor loses the focus or a drop-down list closes: wParam is the
// edit's generation (stale ones are ignored), lParam non-zero to keep the new text.
constexpr UINT kEndEditMessage = WM_APP + 0x3E1;
constexpr UINT_PTR kEditorSubclassId = 0x5243;  // "RC"
constexpr DWORD kForcedExtendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES;  // 0x22
constexpr UINT kCheckedImage = 2;
constexpr UINT kUncheckedImage = 1;

UINT StateImageOf(UINT state) { return (state & LVIS_STATEIMAGEMASK) >> 12; }
}  // namespace

CReportCtrl::~CReportCtrl() {
    if (m_editor && ::IsWindow(m_editor)) {
        ::RemoveWindowSubclass(m_editor, &CReportCtrl::EditorProc, kEditorSubclassId);
        ::DestroyWindow(m_editor);
    }
}

bool CReportCtrl::Create(HWND parent, const RECT& r, UINT id, DWORD style) {
    HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | style, r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return false;
    if (Subclass(hwnd)) return true;
    ::DestroyWindow(hwnd);
    return false;
}

void CReportCtrl::PreSubclassWindow() {
    ModifyStyle(LVS_TYPEMASK | LVS_EDITLABELS | LVS_NOSCROLL, LVS_REPORT | WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL);
    SetExtendedStyle(GetExtendedStyle() | kForcedExtendedStyle);
}

void CReportCtrl::OnFinalMessage() {
    m_editor = nullptr;
    m_editItem = m_editColumn = -1;
    m_rows.clear();
}

CReportCtrl::RowData* CReportCtrl::DataOf(int item) const {
    LVITEMW lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    if (item < 0 || !SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv))) return nullptr;
    auto* data = reinterpret_cast<RowData*>(lv.lParam);
    return m_rows.contains(data) ? data : nullptr;
}

void CReportCtrl::ForgetData(RowData* data) {
    if (data) m_rows.erase(data);
}

int CReportCtrl::InsertColumn(int index, const std::wstring& text, int format, int width) {
    EndEdit(true);
    return fw::CListCtrl::InsertColumn(index, text, format, width);
}

int CReportCtrl::InsertItem(int index, const std::wstring& text) {
    EndEdit(true);
    auto data = std::make_unique<RowData>();
    LVITEMW lv{};
    lv.mask = LVIF_TEXT | LVIF_PARAM;
    lv.iItem = std::max(0, index);
    lv.pszText = const_cast<wchar_t*>(text.c_str());
    lv.lParam = reinterpret_cast<LPARAM>(data.get());
    RowData* key = data.get();
    m_rows.emplace(key, std::move(data));
    const int inserted = static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv)));
    if (inserted < 0) m_rows.erase(key);
    return inserted;
}

void CReportCtrl::SetCellText(int item, int column, const std::wstring& text) {
    LVITEMW lv{};
    lv.iSubItem = column;
    lv.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
}

bool CReportCtrl::SetItemText(int item, int column, const std::wstring& text) {
    EndEdit(true);
    if (item < 0 || item >= fw::CListCtrl::GetItemCount() || column < 0 || column >= GetColumnCount()) return false;
    SetCellText(item, column, text);
    return true;
}

bool CReportCtrl::DeleteItem(int item, bool selectNeighbour) {
    EndEdit(true);
    RowData* data = DataOf(item);
    if (!SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item))) return false;
    ForgetData(data);
    const int count = fw::CListCtrl::GetItemCount();
    if (selectNeighbour && count > 0) {
        const int neighbour = std::min(item, count - 1);
        SetItemState(neighbour, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EnsureVisible(neighbour);
    }
    return true;
}

bool CReportCtrl::DeleteAllItems() {
    EndEdit(true);
    const bool ok = SendMessage(LVM_DELETEALLITEMS) != FALSE;
    if (ok) m_rows.clear();
    return ok;
}

bool CReportCtrl::SetItemData(int item, DWORD_PTR value) {
    RowData* data = DataOf(item);
    if (!data) return false;
    data->userData = value;
    return true;
}

DWORD_PTR CReportCtrl::GetItemData(int item) const {
    const RowData* data = DataOf(item);
    return data ? data->userData : 0;
}

RowState CReportCtrl::GetRowState(int item) const {
    const UINT state = GetItemState(item, LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK);
    return {(state & LVIS_SELECTED) != 0, StateImageOf(state) == kCheckedImage, (state & LVIS_FOCUSED) != 0};
}

int CReportCtrl::GetItemCount(unsigned filter) const {
    const int count = fw::CListCtrl::GetItemCount();
    if (filter & kRowAll) return count;
    int matching = 0;
    for (int i = 0; i < count; ++i) matching += RowMatches(GetRowState(i), filter) ? 1 : 0;
    return matching;
}

int CReportCtrl::GetFirstItem(unsigned filter, int after) const {
    const int count = fw::CListCtrl::GetItemCount();
    for (int i = std::max(after + 1, 0); i < count; ++i) {
        if (RowMatches(GetRowState(i), filter)) return i;
    }
    return -1;
}

int CReportCtrl::FindItem(const std::wstring& text) const {
    const int count = fw::CListCtrl::GetItemCount();
    for (int i = 0; i < count; ++i) {
        if (::lstrcmpiW(GetItemText(i, 0).c_str(), text.c_str()) == 0) return i;
    }
    return -1;
}

void CReportCtrl::SetCheck(int item, bool checked) {
    ++m_quietChecks;
    SetItemState(item, INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : kUncheckedImage), LVIS_STATEIMAGEMASK);
    --m_quietChecks;
}

void CReportCtrl::UncheckAllBut(int item) {
    const int count = fw::CListCtrl::GetItemCount();
    for (int i = 0; i < count; ++i) {
        if (i != item && GetCheck(i)) SetCheck(i, false);
    }
}

bool CReportCtrl::SetItemStates(int item, unsigned states) {
    if (item < 0 || item >= fw::CListCtrl::GetItemCount()) return false;
    if (states & kRowSelected) SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
    if (states & kRowUnselected) SetItemState(item, 0, LVIS_SELECTED);
    if (states & kRowFocused) SetItemState(item, LVIS_FOCUSED, LVIS_FOCUSED);
    if (states & kRowUnfocused) SetItemState(item, 0, LVIS_FOCUSED);
    if (states & (kRowChecked | kRowUnchecked)) {
        const bool check = (states & kRowChecked) != 0;
        SetCheck(item, check);
        if (check && m_checkboxStyle == CheckboxStyle::Single) UncheckAllBut(item);
        if (m_itemChecked) m_itemChecked(item, *this);
    }
    return true;
}

void CReportCtrl::SetCheckboxStyle(CheckboxStyle style) {
    const DWORD ext = GetExtendedStyle();
    ++m_quietChecks;
    SetExtendedStyle(style == CheckboxStyle::None ? (ext & ~static_cast<DWORD>(LVS_EX_CHECKBOXES)) : (ext | LVS_EX_CHECKBOXES));
    if (style == CheckboxStyle::Single) UncheckAllBut(-1);
    --m_quietChecks;
    m_checkboxStyle = style;
}

void CReportCtrl::SetGridLines(bool on) {
    const DWORD ext = GetExtendedStyle();
    SetExtendedStyle(on ? (ext | LVS_EX_GRIDLINES) : (ext & ~static_cast<DWORD>(LVS_EX_GRIDLINES)));
}

void CReportCtrl::SetSortable(bool on) {
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (!header) return;
    const LONG_PTR style = ::GetWindowLongPtrW(header, GWL_STYLE);
    ::SetWindowLongPtrW(header, GWL_STYLE, on ? (style | HDS_BUTTONS) : (style & ~static_cast<LONG_PTR>(HDS_BUTTONS)));
    ::InvalidateRect(header, nullptr, TRUE);
}

bool CReportCtrl::StartEdit(int item, int column) {
    if (!m_editable || item < 0 || item >= fw::CListCtrl::GetItemCount() || column < 0 || column >= GetColumnCount())
        return false;
    EndEdit(true);
    SetItemState(-1, 0, LVIS_SELECTED);
    SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(item);

    ReportEditRequest request;
    request.style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_LEFT;
    if (m_beginEdit && !m_beginEdit(item, column, request)) return false;

    RECT cell{};
    if (!GetSubItemRect(item, column, LVIR_LABEL, cell)) return false;
    const std::wstring text = GetItemText(item, column);
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HWND editor = nullptr;
    const bool isList = !request.choices.empty();
    if (isList) {
        const int rows = std::max(1, request.visibleRows);
        editor = ::CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, cell.left,
                                   cell.top, cell.right - cell.left, (cell.bottom - cell.top) * (rows + 1), m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditorId)), ::GetModuleHandleW(nullptr), nullptr);
        if (editor) {
            ::SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            for (const std::wstring& choice : request.choices)
                ::SendMessageW(editor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
            int selected = request.selected;
            if (selected < 0) {
                const auto found = std::find(request.choices.begin(), request.choices.end(), text);
                if (found != request.choices.end()) selected = static_cast<int>(found - request.choices.begin());
            }
            ::SendMessageW(editor, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        }
    } else {
        editor = ::CreateWindowExW(0, L"EDIT", text.c_str(), request.style | WS_CHILD | WS_VISIBLE, cell.left, cell.top,
                                   cell.right - cell.left, cell.bottom - cell.top, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditorId)), ::GetModuleHandleW(nullptr), nullptr);
        if (editor) {
            ::SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            ::SendMessageW(editor, EM_SETSEL, 0, -1);
        }
    }
    if (!editor) return false;
    m_editor = editor;
    m_editorIsList = isList;
    m_editStyle = request.style;
    m_editItem = item;
    m_editColumn = column;
    ++m_editGeneration;
    ::SetWindowSubclass(editor, &CReportCtrl::EditorProc, kEditorSubclassId, reinterpret_cast<DWORD_PTR>(this));
    ::SetFocus(editor);
    if (isList) ::SendMessageW(editor, CB_SHOWDROPDOWN, TRUE, 0);
    return true;
}

void CReportCtrl::EndEdit(bool commit) {
    if (m_editItem < 0) return;
    HWND editor = std::exchange(m_editor, nullptr);
    const int item = std::exchange(m_editItem, -1);
    const int column = std::exchange(m_editColumn, -1);
    std::wstring text;
    if (m_editorIsList) {
        const auto selected = ::SendMessageW(editor, CB_GETCURSEL, 0, 0);
        const auto length = selected >= 0 ? ::SendMessageW(editor, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0) : -1;
        if (length >= 0) {
            text.assign(static_cast<size_t>(length) + 1, L'\0');
            ::SendMessageW(editor, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(length));
        } else {
            commit = false;  // nothing chosen changes nothing
        }
    } else {
        text = fw::CWnd(editor).GetWindowText();
    }
    const bool hadFocus = ::GetFocus() == editor;
    ::RemoveWindowSubclass(editor, &CReportCtrl::EditorProc, kEditorSubclassId);
    ::DestroyWindow(editor);
    if (hadFocus && IsWindow()) ::SetFocus(m_hWnd);
    if (!commit || text == GetItemText(item, column)) return;
    if (m_endEdit && !m_endEdit(item, column, text)) return;
    SetCellText(item, column, text);
}

bool CReportCtrl::MoveItem(int item, int index) {
    EndEdit(true);
    const int count = fw::CListCtrl::GetItemCount();
    if (item < 0 || item >= count) return false;
    const int target = ClampMoveTarget(index, count);
    if (target == item) return true;

    const int columns = std::max(1, GetColumnCount());
    std::vector<std::wstring> texts;
    for (int c = 0; c < columns; ++c) texts.push_back(GetItemText(item, c));
    const UINT stateMask = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;
    const UINT state = GetItemState(item, stateMask);
    LVITEMW lv{};
    lv.mask = LVIF_PARAM | LVIF_IMAGE;
    lv.iItem = item;
    SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv));
    const LPARAM data = lv.lParam;
    const int image = lv.iImage;

    ++m_quietChecks;
    // Detach the row's data first, so that deleting the row does not free it.
    LVITEMW detach{};
    detach.mask = LVIF_PARAM;
    detach.iItem = item;
    detach.lParam = 0;
    SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&detach));
    SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item));

    LVITEMW insert{};
    insert.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    insert.iItem = target;
    insert.pszText = texts[0].data();
    insert.lParam = data;
    insert.iImage = image;
    const int at = static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (at >= 0) {
        for (int c = 1; c < columns; ++c) SetCellText(at, c, texts[static_cast<size_t>(c)]);
        SetItemState(at, state, stateMask);
    } else {
        ForgetData(reinterpret_cast<RowData*>(data));
    }
    --m_quietChecks;
    return at >= 0;
}

void CReportCtrl::SetCellColour(int item, int column, COLORREF colour, bool text, bool redraw) {
    const int count = fw::CListCtrl::GetItemCount();
    const int columns = GetColumnCount();
    const int firstItem = item < 0 ? 0 : item;
    const int lastItem = item < 0 ? count - 1 : std::min(item, count - 1);
    for (int i = firstItem; i <= lastItem; ++i) {
        RowData* data = DataOf(i);
        if (!data) continue;
        auto& colours = text ? data->text : data->back;
        if (colours.size() < static_cast<size_t>(columns)) colours.resize(static_cast<size_t>(columns), kDefaultColour);
        if (column < 0) {
            std::fill(colours.begin(), colours.end(), colour);
        } else if (column < columns) {
            colours[static_cast<size_t>(column)] = colour;
        }
    }
    if (redraw && IsWindow()) Invalidate(false);
}

void CReportCtrl::SetItemTextColor(int item, int column, COLORREF colour, bool redraw) {
    SetCellColour(item, column, colour, true, redraw);
}

void CReportCtrl::SetItemBkColor(int item, int column, COLORREF colour, bool redraw) {
    SetCellColour(item, column, colour, false, redraw);
}

COLORREF CReportCtrl::GetItemTextColor(int item, int column) const {
    const RowData* data = DataOf(item);
    return data && column >= 0 && static_cast<size_t>(column) < data->text.size() ? data->text[static_cast<size_t>(column)]
                                                                                    : kDefaultColour;
}

COLORREF CReportCtrl::GetItemBkColor(int item, int column) const {
    const RowData* data = DataOf(item);
    return data && column >= 0 && static_cast<size_t>(column) < data->back.size() ? data->back[static_cast<size_t>(column)]
                                                                                    : kDefaultColour;
}

LRESULT CReportCtrl::OnCustomDraw(NMLVCUSTOMDRAW* draw) const {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        auto* data = reinterpret_cast<RowData*>(draw->nmcd.lItemlParam);
        if (!m_rows.contains(data)) return CDRF_DODEFAULT;
        const auto column = static_cast<size_t>(std::max(0, draw->iSubItem));
        const COLORREF text = column < data->text.size() ? data->text[column] : kDefaultColour;
        const COLORREF back = column < data->back.size() ? data->back[column] : kDefaultColour;
        // A cell without colours of its own keeps the list's colours (the system's unless the owner
        // changed the list's); the values are set either way, as the list reuses them between cells.
        draw->clrText = text == kDefaultColour ? static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)) : text;
        draw->clrTextBk = back == kDefaultColour ? static_cast<COLORREF>(SendMessage(LVM_GETTEXTBKCOLOR)) : back;
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void CReportCtrl::OnItemChanged(const NMLISTVIEW* change) {
    if (m_quietChecks > 0 || !(change->uChanged & LVIF_STATE) || change->iItem < 0) return;
    const UINT oldImage = StateImageOf(change->uOldState);
    const UINT newImage = StateImageOf(change->uNewState);
    if (oldImage != 0 && newImage != 0 && oldImage != newImage) {
        if (newImage == kCheckedImage && m_checkboxStyle == CheckboxStyle::Single) {
            ++m_quietChecks;
            UncheckAllBut(change->iItem);
            --m_quietChecks;
        }
        if (m_itemChecked) m_itemChecked(change->iItem, *this);
    }
    if (((change->uNewState ^ change->uOldState) & LVIS_SELECTED) && (change->uNewState & LVIS_SELECTED) &&
        m_selectionChanged)
        m_selectionChanged(change->iItem, -1, *this);
}

LRESULT CReportCtrl::OnMouseButton(UINT message, WPARAM wp, LPARAM lp) {
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    const bool onItem = hit.iItem >= 0 && (hit.flags & LVHT_ONITEM) != 0;
    const UINT activeMask = LVIS_SELECTED | LVIS_FOCUSED;
    const bool wasActive = onItem && GetItemState(hit.iItem, activeMask) == activeMask;
    EndEdit(true);
    const LRESULT result = DefWindowProc(message, wp, lp);
    if (m_editable && message == WM_LBUTTONDOWN && wasActive && !(hit.flags & LVHT_ONITEMSTATEICON))
        StartEdit(hit.iItem, hit.iSubItem);
    const bool doubleClick = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
    if (doubleClick && onItem && m_doubleClick) m_doubleClick(hit.iItem, hit.iSubItem, *this);
    return result;
}

bool CReportCtrl::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
        result = OnMouseButton(message, wp, lp);
        return true;
    case WM_HSCROLL: case WM_VSCROLL: case WM_MOUSEWHEEL:
        EndEdit(true);  // the editor would be left behind at the old place
        return false;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lp) == m_editor && m_editor) {
            if (HIWORD(wp) == CBN_SELENDOK) ::PostMessageW(m_hWnd, kEndEditMessage, m_editGeneration, 1);
            if (HIWORD(wp) == CBN_SELENDCANCEL) ::PostMessageW(m_hWnd, kEndEditMessage, m_editGeneration, 0);
            return true;
        }
        return false;
    case kEndEditMessage:
        if (wp == m_editGeneration && IsEditing()) EndEdit(lp != 0);
        return true;
    case fw::kReflectBase + WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (header->code == NM_CUSTOMDRAW) {
            result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lp));
            return true;
        }
        if (header->code == LVN_ITEMCHANGED) OnItemChanged(reinterpret_cast<const NMLISTVIEW*>(lp));
        if (header->code == LVN_DELETEITEM) ForgetData(reinterpret_cast<RowData*>(reinterpret_cast<NMLISTVIEW*>(lp)->lParam));
        return false;  // the owner sees these too
    }
    default:
        return false;
    }
}

LRESULT CALLBACK CReportCtrl::EditorProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<CReportCtrl*>(ref);
    switch (message) {
    case WM_GETDLGCODE:
        return ::DefSubclassProc(hwnd, message, wp, lp) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_ESCAPE) {
            if (self->m_editorIsList && ::SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0)) break;
            self->EndEdit(wp == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == VK_RETURN || wp == VK_ESCAPE) return 0;  // no beep
        break;
    case WM_KILLFOCUS:
        ::PostMessageW(self->m_hWnd, kEndEditMessage, self->m_editGeneration, 1);
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, &CReportCtrl::EditorProc, kEditorSubclassId);
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wp, lp);
}

}  // namespace kw::skin
