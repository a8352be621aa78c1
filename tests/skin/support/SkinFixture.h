#pragma once
// What the skin tests build on: a temporary skin folder with generated pictures and layout files,
// a skinned dialog holding one of each control, and a message pump that goes through the dialog's
// PreTranslateMessage as the modal loop does.
#include "framework/MessageTable.h"
#include "skin/BaseDialog.h"
#include "skin/BitmapSlider.h"
#include "skin/ColorStatic.h"
#include "skin/HyperLink.h"
#include "skin/PngButton.h"
#include "skin/ReportCtrl.h"
#include "skin/SkinColorBtn.h"

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace kw::skin::test {

// A folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // Ends in a backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + name; }

private:
    std::wstring m_path;
};

using PixelFunction = std::function<COLORREF(int x, int y)>;
// A 24-bit bottom-up BMP file.
void WriteBmp(const std::wstring& path, int width, int height, const PixelFunction& pixel);
void WriteBytes(const std::wstring& path, const std::string& bytes);
void WriteText(const std::wstring& path, const std::wstring& text);

// Solid colours of the five test state pictures, in the order normal, hover, pressed, disabled,
// selected.
inline constexpr std::array<COLORREF, 5> kStateColours = {RGB(200, 30, 30), RGB(30, 200, 30), RGB(30, 30, 200),
                                                          RGB(90, 90, 90), RGB(220, 200, 20)};
inline constexpr std::array<const wchar_t*, 5> kTestStateImages = {L"t_normal.bmp", L"t_over.bmp", L"t_down.bmp",
                                                                   L"t_disable.bmp", L"t_select.bmp"};
inline constexpr StateAssignment kTestFaces{0, 1, 2, 3, 4};
inline constexpr int kBackgroundWidth = 320;
inline constexpr int kBackgroundHeight = 240;
inline constexpr COLORREF kBackgroundColour = RGB(20, 22, 28);

// Writes a complete small skin into the folder: "bg.bmp" (dark, 320 x 240), "mask.bmp" (the same
// with white corners), the five state pictures and "Test.ini" with the given BUTTONINFO lines.
void WriteTestSkin(const TempFolder& folder, const std::wstring& buttonInfo);

// The skinned dialog of the tests: every control of the template, placed by the layout keys
// "BUTTON_A" ... "BUTTON_F", "LABEL", "LINK", "SLIDER", "COLOUR", "LIST", "EDIT".
// The paths outlive the dialog base, as the program's start-up buffers do: this base is built first.
struct TestDialogPaths {
    std::wstring iniPath;
    std::wstring folder;
};

class TestDialog : private TestDialogPaths, public CBaseDialog {
public:
    TestDialog(const std::wstring& iniPath, const std::wstring& folder,
               std::span<const wchar_t* const> stateImages = kTestStateImages);

    BOOL OnInitDialog() override;
    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

    CPngButton buttonA, buttonB, buttonC, buttonD, buttonE, buttonF;
    ColorStatic label;
    CHyperLink link;
    CBitmapSlider slider;
    CSkinColorBtn colour;
    CReportCtrl list;

    // What reached the dialog.
    std::vector<std::pair<UINT, WPARAM>> commands;  // (control id, notification code)
    std::vector<std::pair<WPARAM, LPARAM>> sliderReports;
    int backgroundPresses = 0;  // drags started by a press on the background

private:
    static std::span<const fw::MessageEntry<TestDialog>> MessageTable();
    LRESULT OnCommandMessage(WPARAM wp, LPARAM lp);
    LRESULT OnSliderMessage(WPARAM wp, LPARAM lp);
    LRESULT OnNcLButtonDown(WPARAM wp, LPARAM lp);
};

// Dispatches everything queued (through the dialog's PreTranslateMessage), then keeps doing so
// for `milliseconds`.
void Pump(fw::CDialog& dialog, DWORD milliseconds = 0);

// The colour shown at a point of a window's client area, read back from the screen.
COLORREF PixelAt(HWND hwnd, int x, int y);
RECT ChildRect(HWND parent, HWND child);

}  // namespace kw::skin::test
