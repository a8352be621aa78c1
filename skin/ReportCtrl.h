#pragma once
// The report list: a list view in report view with check boxes (normal, or at most one checked
// row), in-place editing of any cell, row moves that keep a row's texts, data and states, and
// per-cell text and background colours.
#include "framework/ListCtrl.h"
#include "skin/ReportFilter.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kw::skin {

class CReportCtrl;

// What the begin-edit callback may adjust: the edit control's style, or a list of choices, which
// turns the editor into a drop-down list of that many visible rows with `selected` chosen.
struct ReportEditRequest {
    DWORD style = 0;
    std::vector<std::wstring> choices;
    int selected = -1;
    int visibleRows = 6;
};

enum class CheckboxStyle { None = 0, Normal = 1, Single = 2 };

class CReportCtrl : public fw::CListCtrl {
public:
    // False refuses the edit.
    using BeginEditCallback = std::function<bool(int item, int column, ReportEditRequest& request)>;
    // Called with the new text of an edited cell; may change it; false keeps the old text.
    using EndEditCallback = std::function<bool(int item, int column, std::wstring& text)>;
    using ItemCheckedCallback = std::function<void(int item, CReportCtrl& list)>;
    using ItemNotifyCallback = std::function<void(int item, int column, CReportCtrl& list)>;

    static constexpr COLORREF kDefaultColour = static_cast<COLORREF>(-1);
    static constexpr UINT kEditorId = 0x7E17;

    CReportCtrl() = default;
    ~CReportCtrl() override;

    // Creates a new list as a child of `parent` (a template's list is taken over with SubclassWindow).
    bool Create(HWND parent, const RECT& rect, UINT id, DWORD style = WS_BORDER | WS_TABSTOP | LVS_SHOWSELALWAYS);

    int InsertColumn(int index, const std::wstring& text, int format = LVCFMT_LEFT, int width = 80);
    int InsertItem(int index, const std::wstring& text);
    bool SetItemText(int item, int column, const std::wstring& text);
    bool DeleteItem(int item, bool selectNeighbour = false);
    bool DeleteAllItems();
    bool SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;

    int GetItemCount(unsigned filter = kRowAll) const;
    int GetFirstItem(unsigned filter, int after = -1) const;
    int FindItem(const std::wstring& text) const;
    RowState GetRowState(int item) const;
    bool SetItemStates(int item, unsigned states);

    void SetCheckboxStyle(CheckboxStyle style);
    CheckboxStyle GetCheckboxStyle() const { return m_checkboxStyle; }
    void SetGridLines(bool on);
    void SetSortable(bool on);

    void SetEditable(bool editable) { m_editable = editable; }
    bool IsEditable() const { return m_editable; }
    bool StartEdit(int item, int column);
    // Ends a running edit, keeping the new text when `commit` is set.
    void EndEdit(bool commit);
    bool IsEditing() const { return m_editItem >= 0; }
    HWND Editor() const { return m_editor; }
    int EditItem() const { return m_editItem; }
    int EditColumn() const { return m_editColumn; }

    // Moves a row to `index` (clamped into the list); the row stays selected if it was.
    bool MoveItem(int item, int index);
    bool MoveUp(int item, int by = 1) { return MoveItem(item, item - by); }
    bool MoveDown(int item, int by = 1) { return MoveItem(item, item + by); }
    bool MoveToTop(int item) { return MoveItem(item, -1); }
    bool MoveToBottom(int item) { return MoveItem(item, 0x7FFFFFFF); }

    // Item or column -1 means all; colour kDefaultColour the list's own (the system window colours
    // unless the owner set the list's colours).
    void SetItemTextColor(int item, int column, COLORREF colour, bool redraw = true);
    void SetItemBkColor(int item, int column, COLORREF colour, bool redraw = true);
    COLORREF GetItemTextColor(int item, int column) const;
    COLORREF GetItemBkColor(int item, int column) const;

    void SetBeginEditCallback(BeginEditCallback cb) { m_beginEdit = std::move(cb); }
    void SetEndEditCallback(EndEditCallback cb) { m_endEdit = std::move(cb); }
    void SetItemCheckedCallback(ItemCheckedCallback cb) { m_itemChecked = std::move(cb); }
    void SetSelectionCallback(ItemNotifyCallback cb) { m_selectionChanged = std::move(cb); }
    void SetDoubleClickCallback(ItemNotifyCallback cb) { m_doubleClick = std::move(cb); }
    void SetOwner(fw::CWnd* owner) { m_owner = owner; }
    fw::CWnd* Owner() const { return m_owner; }

    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    void PreSubclassWindow() override;
    void OnFinalMessage() override;

private:
    struct RowData {
        DWORD_PTR userData = 0;
        std::vector<COLORREF> text;
        std::vector<COLORREF> back;
    };

    RowData* DataOf(int item) const;
    void ForgetData(RowData* data);
    void SetCheck(int item, bool checked);
    void SetCellText(int item, int column, const std::wstring& text);
    void UncheckAllBut(int item);
    LRESULT OnMouseButton(UINT message, WPARAM wp, LPARAM lp);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw) const;
    void OnItemChanged(const NMLISTVIEW* change);
    void SetCellColour(int item, int column, COLORREF colour, bool text, bool redraw);
    static LRESULT CALLBACK EditorProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);

    bool m_editable = false;
    int m_editItem = -1;
    int m_editColumn = -1;
    HWND m_editor = nullptr;
    bool m_editorIsList = false;
    DWORD m_editStyle = 0;
    unsigned m_editGeneration = 0;
    CheckboxStyle m_checkboxStyle = CheckboxStyle::None;
    int m_quietChecks = 0;  // check changes made by the list itself run no callback
    BeginEditCallback m_beginEdit;
    EndEditCallback m_endEdit;
    ItemCheckedCallback m_itemChecked;
    ItemNotifyCallback m_selectionChanged;
    ItemNotifyCallback m_doubleClick;
    fw::CWnd* m_owner = nullptr;
    // Row data lives here; each row's item data points at its record.
    std::unordered_map<RowData*, std::unique_ptr<RowData>> m_rows;
};

}  // namespace kw::skin
