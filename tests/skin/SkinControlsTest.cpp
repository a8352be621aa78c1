// The custom controls on real windows, driven by messages: report list, bitmap slider, hyperlink,
// colour button and colour static.
#include "tests/skin/support/SkinFixture.h"
#include "tests/skin/SkinTestResources.h"

#include "skin/HyperlinkText.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace kw::skin::test {
namespace {

constexpr const wchar_t* kLayout =
    L"BUTTON_A=100,40,60,24\r\n"
    L"LABEL=10,10,120,20\r\n"
    L"LINK=10,200,10,10\r\n"
    L"SLIDER=20,150,61,16\r\n"
    L"COLOUR=150,150,60,20\r\n"
    L"LIST=10,40,280,100\r\n";

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        WriteTestSkin(folder, kLayout);
        dialog = std::make_unique<TestDialog>(folder / L"Test.ini", folder.Path());
        ASSERT_TRUE(dialog->Create());
        Pump(*dialog, 30);
    }
    void TearDown() override {
        dialog->DestroyWindow();
        Pump(*dialog, 0);
    }
    TempFolder folder;
    std::unique_ptr<TestDialog> dialog;
};

// ---- report list --------------------------------------------------------------------------

class Report : public Controls {
protected:
    void SetUp() override {
        Controls::SetUp();
        list().InsertColumn(0, L"Key", LVCFMT_LEFT, 90);
        list().InsertColumn(1, L"Action", LVCFMT_LEFT, 90);
        list().InsertColumn(2, L"Delay", LVCFMT_LEFT, 90);
        for (int i = 0; i < 5; ++i) {
            list().InsertItem(i, L"row" + std::to_wstring(i));
            list().SetItemText(i, 1, L"a" + std::to_wstring(i));
            list().SetItemData(i, static_cast<DWORD_PTR>(100 + i));
        }
    }
    CReportCtrl& list() { return dialog->list; }
    std::vector<std::wstring> Column0() {
        std::vector<std::wstring> rows;
        for (int i = 0; i < list().GetItemCount(); ++i) rows.push_back(list().GetItemText(i, 0));
        return rows;
    }
};

TEST_F(Report, CreationForcesReportViewAndFullRowSelection) {
    EXPECT_EQ(list().GetStyle() & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(list().GetExtendedStyle() & 0x22u, 0x22u);
}

TEST_F(Report, EditsACellInPlace) {
    list().SetEditable(true);
    std::vector<std::tuple<int, int, std::wstring>> commits;
    list().SetEndEditCallback([&](int item, int column, std::wstring& text) {
        commits.emplace_back(item, column, text);
        if (text == L"refused") return false;
        text += L"0";  // the owner may adjust the text (a delay rounded, for example)
        return true;
    });
    ASSERT_TRUE(list().StartEdit(2, 2));
    HWND editor = list().Editor();
    ASSERT_TRUE(::IsWindow(editor));
    RECT cell{};
    list().GetSubItemRect(2, 2, LVIR_LABEL, cell);
    const RECT placed = ChildRect(list().GetSafeHwnd(), editor);
    EXPECT_EQ(placed.left, cell.left);
    EXPECT_EQ(placed.top, cell.top);
    ::SetWindowTextW(editor, L"125");
    ::SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(::IsWindow(editor));
    EXPECT_EQ(list().GetItemText(2, 2), L"1250");

    ASSERT_TRUE(list().StartEdit(1, 0));
    ::SetWindowTextW(list().Editor(), L"refused");
    ::SendMessageW(list().Editor(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(list().GetItemText(1, 0), L"row1");

    ASSERT_TRUE(list().StartEdit(3, 1));
    ::SetWindowTextW(list().Editor(), L"escaped");
    ::SendMessageW(list().Editor(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(list().GetItemText(3, 1), L"a3");
    EXPECT_FALSE(list().IsEditing());
    EXPECT_EQ(commits.size(), 2u);  // Escape commits nothing
}

TEST_F(Report, EditingNeedsAnEditableListAnExistingCellAndTheOwnersConsent) {
    EXPECT_FALSE(list().StartEdit(0, 0));  // not editable
    list().SetEditable(true);
    EXPECT_FALSE(list().StartEdit(5, 0));
    EXPECT_FALSE(list().StartEdit(0, 3));
    EXPECT_FALSE(list().StartEdit(-1, 0));
    list().SetBeginEditCallback([](int, int column, ReportEditRequest&) { return column != 1; });
    EXPECT_FALSE(list().StartEdit(0, 1));
    EXPECT_TRUE(list().StartEdit(0, 2));
    // A structural change commits the running edit first.
    ::SetWindowTextW(list().Editor(), L"40");
    list().InsertItem(0, L"new");
    EXPECT_FALSE(list().IsEditing());
    EXPECT_EQ(list().GetItemText(1, 2), L"40");
}

TEST_F(Report, ClickOnACellOfTheSelectedRowStartsEditingIt) {
    list().SetEditable(true);
    RECT cell{};
    list().GetSubItemRect(1, 1, LVIR_LABEL, cell);
    const LPARAM at = MAKELPARAM(cell.left + 5, (cell.top + cell.bottom) / 2);
    HWND h = list().GetSafeHwnd();
    // First click selects the row, the second one edits the cell.
    for (int click = 0; click < 2; ++click) {
        ::PostMessageW(h, WM_LBUTTONUP, 0, at);
        ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
        Pump(*dialog, 20);
        EXPECT_EQ(list().IsEditing(), click == 1);
    }
    EXPECT_EQ(list().EditItem(), 1);
    EXPECT_EQ(list().EditColumn(), 1);
}

TEST_F(Report, DropDownEditorChangesTheCellToTheChosenEntry) {
    list().SetEditable(true);
    list().SetBeginEditCallback([](int, int, ReportEditRequest& request) {
        request.choices = {L"\u2193", L"  \u2191"};
        return true;
    });
    list().SetItemText(0, 1, L"\u2193");
    ASSERT_TRUE(list().StartEdit(0, 1));
    HWND combo = list().Editor();
    EXPECT_EQ(::SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    ::SendMessageW(combo, CB_SETCURSEL, 1, 0);
    ::SendMessageW(list().GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CReportCtrl::kEditorId, CBN_SELENDOK),
                   reinterpret_cast<LPARAM>(combo));
    Pump(*dialog, 20);
    EXPECT_FALSE(list().IsEditing());
    EXPECT_EQ(list().GetItemText(0, 1), L"  \u2191");
}

TEST_F(Report, MovesKeepTextsDataAndStates) {
    struct Case { int from; int to; std::vector<std::wstring> order; int landed; };
    const std::vector<Case> cases = {
        {0, 1000, {L"row1", L"row2", L"row3", L"row4", L"row0"}, 4},
        {4, -5, {L"row4", L"row0", L"row1", L"row2", L"row3"}, 0},
        {2, 1, {L"row0", L"row2", L"row1", L"row3", L"row4"}, 1},
        {1, 3, {L"row0", L"row2", L"row3", L"row1", L"row4"}, 3},
    };
    for (const Case& c : cases) {
        list().DeleteAllItems();
        for (int i = 0; i < 5; ++i) {
            list().InsertItem(i, L"row" + std::to_wstring(i));
            list().SetItemText(i, 2, L"d" + std::to_wstring(i));
            list().SetItemData(i, static_cast<DWORD_PTR>(100 + i));
        }
        list().SetCheckboxStyle(CheckboxStyle::Normal);
        list().SetItemStates(c.from, kRowSelected | kRowFocused | kRowChecked);
        ASSERT_TRUE(list().MoveItem(c.from, c.to));
        EXPECT_EQ(Column0(), c.order) << c.from << "->" << c.to;
        EXPECT_EQ(list().GetItemText(c.landed, 2), L"d" + std::to_wstring(c.from));
        EXPECT_EQ(list().GetItemData(c.landed), static_cast<DWORD_PTR>(100 + c.from));
        const RowState state = list().GetRowState(c.landed);
        EXPECT_TRUE(state.selected && state.focused && state.checked);
        EXPECT_EQ(list().GetItemCount(kRowChecked), 1);
    }
    EXPECT_TRUE(list().MoveToTop(3));
    EXPECT_TRUE(list().MoveToBottom(0));
    EXPECT_FALSE(list().MoveItem(7, 0));
}

TEST_F(Report, SingleCheckModeKeepsOneCheckAndCallsBackOnceForTheNewRow) {
    std::vector<int> called;
    list().SetCheckboxStyle(CheckboxStyle::Normal);
    list().SetItemStates(1, kRowChecked);
    list().SetItemStates(3, kRowChecked);
    list().SetItemCheckedCallback([&](int item, CReportCtrl&) { called.push_back(item); });
    list().SetCheckboxStyle(CheckboxStyle::Single);  // entering single mode unchecks every row
    EXPECT_EQ(list().GetFirstItem(kRowChecked), -1);
    EXPECT_TRUE(called.empty());

    list().SetItemStates(2, kRowChecked);
    EXPECT_EQ(called, std::vector<int>{2});
    // The user ticking a box goes through the list's own notification.
    called.clear();
    list().SetItemState(4, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    EXPECT_EQ(called, std::vector<int>{4});
    EXPECT_EQ(list().GetItemCount(kRowChecked), 1);
    EXPECT_EQ(list().GetFirstItem(kRowChecked), 4);
    EXPECT_EQ(list().GetFirstItem(kRowUnchecked, 3), -1);
    EXPECT_EQ(list().GetFirstItem(kRowUnchecked, 0), 1);
}

TEST_F(Report, CountsSearchesAndDeletesWithNeighbourSelection) {
    EXPECT_EQ(list().GetItemCount(kRowChecked), 0);
    EXPECT_EQ(list().GetFirstItem(kRowChecked), -1);
    EXPECT_EQ(list().FindItem(L"ROW3"), 3);
    EXPECT_EQ(list().FindItem(L"row9"), -1);
    list().SetItemStates(4, kRowSelected);
    EXPECT_EQ(list().GetItemCount(kRowSelected), 1);
    EXPECT_EQ(list().GetItemCount(kRowUnselected), 4);
    ASSERT_TRUE(list().DeleteItem(4, true));  // the last row: the previous one is selected
    EXPECT_EQ(list().GetFirstItem(kRowSelected), 3);
    ASSERT_TRUE(list().DeleteItem(1, true));  // otherwise the next one
    EXPECT_EQ(list().GetItemText(1, 0), L"row2");
    EXPECT_TRUE(list().GetRowState(1).selected);
    EXPECT_EQ(list().GetItemData(1), 102u);
}

TEST_F(Report, CellColoursAreStoredPerCellAndDrawn) {
    list().SetItemBkColor(1, 2, RGB(0, 128, 0));
    list().SetItemTextColor(-1, 0, RGB(255, 0, 0));
    EXPECT_EQ(list().GetItemBkColor(1, 2), RGB(0, 128, 0));
    EXPECT_EQ(list().GetItemBkColor(1, 1), CReportCtrl::kDefaultColour);
    EXPECT_EQ(list().GetItemTextColor(4, 0), RGB(255, 0, 0));
    ::UpdateWindow(list().GetSafeHwnd());
    RECT cell{};
    list().GetSubItemRect(1, 2, LVIR_LABEL, cell);
    EXPECT_EQ(PixelAt(list().GetSafeHwnd(), cell.right - 3, (cell.top + cell.bottom) / 2), RGB(0, 128, 0));
}

// ---- slider -------------------------------------------------------------------------------

TEST_F(Controls, SliderMapsClicksDragsAndKeysAndReportsEveryChange) {
    CBitmapSlider& s = dialog->slider;
    s.SetRange(0, 5);
    s.SetPageSize(10);
    s.SetPos(9);
    EXPECT_EQ(s.GetPos(), 5);
    HWND h = s.GetSafeHwnd();
    dialog->sliderReports.clear();
    // Width 61, no margin: positions every 12 pixels.
    ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 5));
    ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(26, 5));   // still 2: no report
    ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 5));  // beyond the end: 5
    ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
    for (WPARAM key : {VK_RIGHT, VK_HOME, VK_DOWN, VK_NEXT, VK_LEFT, VK_PRIOR, VK_END})
        ::SendMessageW(h, WM_KEYDOWN, key, 0);
    Pump(*dialog, 10);
    const std::vector<LPARAM> expected = {2, 5, 5, 5, 0, 1, 5, 4, 0, 5};
    ASSERT_EQ(dialog->sliderReports.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dialog->sliderReports[i].first, static_cast<WPARAM>(IDC_SLIDER));
        EXPECT_EQ(dialog->sliderReports[i].second, expected[i]) << i;
    }
}

TEST_F(Controls, SliderTakesTheSizeOfItsChannelPicture) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 90, 12, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP channel = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    dialog->slider.SetChannelBitmap(channel);
    const RECT r = ChildRect(dialog->GetSafeHwnd(), dialog->slider.GetSafeHwnd());
    EXPECT_EQ(r.right - r.left, 90);
    EXPECT_EQ(r.bottom - r.top, 12);
    EXPECT_EQ(r.left, 20);
}

// ---- hyperlink ----------------------------------------------------------------------------

class FakeShell : public IHyperlinkShell {
public:
    INT_PTR Open(HWND, const std::wstring& address) override {
        opened.push_back(address);
        return result;
    }
    void ReportFailure(HWND, const std::wstring& text) override { failures.push_back(text); }
    INT_PTR result = 42;
    std::vector<std::wstring> opened;
    std::vector<std::wstring> failures;
};

TEST_F(Controls, HyperlinkOpensOnlyWebAddressesThroughTheShell) {
    CHyperLink& link = dialog->link;
    FakeShell shell;
    link.SetShell(&shell);
    EXPECT_EQ(link.GetURL(), L"https://example.com/keyweave");  // taken from the text
    EXPECT_EQ(link.CurrentColour(), CHyperLink::kLinkColour);
    ::SendMessageW(link.GetSafeHwnd(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(shell.opened, std::vector<std::wstring>{L"https://example.com/keyweave"});
    EXPECT_TRUE(link.IsVisited());
    EXPECT_EQ(link.CurrentColour(), CHyperLink::kVisitedColour);

    // What a skin might carry instead of an address is never handed to anything.
    for (const wchar_t* refused : {L"C:\\Windows\\system32\\calc.exe", L"calc.exe http://x", L"file:///C:/x.exe",
                                   L"\"http://x\" & calc"}) {
        shell.failures.clear();
        link.SetURL(refused);
        EXPECT_FALSE(link.Open());
        EXPECT_EQ(shell.failures, std::vector<std::wstring>{HyperlinkFailureText(kRefusedAddressCode)});
    }
    EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(Controls, HyperlinkReportsTheShellsError) {
    FakeShell shell;
    shell.result = 26;
    dialog->link.SetShell(&shell);
    dialog->link.SetURL(L"http://example.com");
    EXPECT_FALSE(dialog->link.Open());
    ASSERT_EQ(shell.failures.size(), 1u);
    EXPECT_EQ(shell.failures[0], L"Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_FALSE(dialog->link.IsVisited());
}

TEST_F(Controls, HyperlinkHoverUnderlinesUntilTheCursorLeaves) {
    CHyperLink& link = dialog->link;
    ::SetCursorPos(1200, 780);  // far from the dialog
    ::SendMessageW(link.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(link.IsHovering());
    EXPECT_TRUE(link.IsUnderlined());
    EXPECT_EQ(link.CurrentColour(), CHyperLink::kHoverColour);
    ::SendMessageW(link.GetSafeHwnd(), WM_TIMER, CHyperLink::kHoverTimer, 0);
    EXPECT_FALSE(link.IsHovering());
    EXPECT_FALSE(link.IsUnderlined());
    link.SetUnderline(CHyperLink::kUnderlineAlways);
    EXPECT_TRUE(link.IsUnderlined());
}

// ---- colour button ------------------------------------------------------------------------

class FakeChooser : public fw::IColorChooser {
public:
    std::optional<COLORREF> Choose(HWND, COLORREF initial) override {
        asked = initial;
        return answer;
    }
    std::optional<COLORREF> answer;
    COLORREF asked = 0;
};

TEST_F(Controls, ColourButtonPicksFromThePaletteAutomaticAndOther) {
    CSkinColorBtn& button = dialog->colour;
    FakeChooser chooser;
    button.SetColorChooser(&chooser);
    button.EnableAutomaticButton(L"Automatic", RGB(10, 20, 30));
    button.EnableOtherButton(L"other", false, true);
    button.SetColumnsNumber(10);
    button.SetColor(RGB(1, 2, 3));

    const auto choose = [&](int item) {
        dialog->commands.clear();
        ::SendMessageW(button.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        ASSERT_TRUE(button.Popup() && button.Popup()->IsWindow());
        const RECT r = button.Popup()->ItemRect(item);
        ::SendMessageW(button.Popup()->GetSafeHwnd(), WM_LBUTTONUP, 0,
                       MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        EXPECT_FALSE(button.Popup()->IsWindow());
    };
    choose(3);
    EXPECT_EQ(button.GetColor(), button.GetPalette()[3]);
    EXPECT_EQ(dialog->commands, (std::vector<std::pair<UINT, WPARAM>>{{IDC_COLOUR, BN_CLICKED}}));

    choose(fw::CColorPopup::kAutomaticItem);
    EXPECT_EQ(button.GetColor(), fw::kAutomaticColor);
    EXPECT_EQ(button.GetShownColor(), RGB(10, 20, 30));

    chooser.answer = RGB(77, 88, 99);
    choose(fw::CColorPopup::kOtherItem);
    EXPECT_EQ(chooser.asked, RGB(10, 20, 30));
    EXPECT_EQ(button.GetColor(), RGB(77, 88, 99));

    chooser.answer.reset();  // the system dialog cancelled: nothing changes, nobody is told
    choose(fw::CColorPopup::kOtherItem);
    EXPECT_EQ(button.GetColor(), RGB(77, 88, 99));
    EXPECT_TRUE(dialog->commands.empty());

    ::SendMessageW(button.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageW(button.Popup()->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(button.Popup()->IsWindow());
    ::SendMessageW(button.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageW(button.Popup()->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-20, -20));  // elsewhere
    EXPECT_FALSE(button.Popup()->IsWindow());
    EXPECT_EQ(button.GetColor(), RGB(77, 88, 99));
    EXPECT_TRUE(dialog->commands.empty());
}

TEST_F(Controls, ColourButtonFaceShowsSwatchAndArrow) {
    CSkinColorBtn& button = dialog->colour;
    button.SetColor(RGB(0, 200, 100));
    ::RedrawWindow(button.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(PixelAt(button.GetSafeHwnd(), 10, 10), RGB(0, 200, 100));
    EXPECT_EQ(PixelAt(button.GetSafeHwnd(), 45, 4), CSkinColorBtn::kDropDownColour);
    EXPECT_EQ(PixelAt(button.GetSafeHwnd(), 53, 10), RGB(0, 0, 0));  // the arrow
}

// ---- colour static ------------------------------------------------------------------------

TEST_F(Controls, ColourStaticShowsOnlyItsTextOverTheBackground) {
    ColorStatic& label = dialog->label;
    label.SetTextColor(RGB(255, 130, 0));
    label.SetFontHeight(16);
    ::UpdateWindow(dialog->GetSafeHwnd());
    HWND h = label.GetSafeHwnd();
    int text = 0;
    int background = 0;
    int other = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 120; ++x) {
            const COLORREF c = PixelAt(h, x, y);
            if (c == RGB(255, 130, 0)) ++text;
            else if (c == kBackgroundColour) ++background;
            else ++other;  // anti-aliased edges of the letters
        }
    }
    EXPECT_GT(text, 10);
    EXPECT_GT(background, 120 * 20 / 2);
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -16);
}

}  // namespace
}  // namespace kw::skin::test
