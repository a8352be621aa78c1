#include "tests/skin/support/SkinFixture.h"

#include "skin/Layout.h"
#include "tests/skin/SkinTestResources.h"


namespace kw::skin::test {

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;  // several folders in one process get distinct names
    for (;;) {
        m_path = std::wstring(base) + L"kwskin_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                 std::to_wstring(++counter) + L"\\";
        if (::CreateDirectoryW(m_path.c_str(), nullptr)) break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW((m_path + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((m_path + found.cFileName).c_str());
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(m_path.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

void WriteText(const std::wstring& path, const std::wstring& text) {
    // UTF-16 with its byte-order mark: the profile functions read such files as wide text.
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    WriteBytes(path, bytes);
}

void WriteBmp(const std::wstring& path, int width, int height, const PixelFunction& pixel) {
    const int rowBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rowBytes * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    std::string row(static_cast<size_t>(rowBytes), '\0');
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            row[static_cast<size_t>(x * 3)] = static_cast<char>(GetBValue(c));
            row[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(c));
            row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(c));
        }
        bytes += row;
    }
    WriteBytes(path, bytes);
}

void WriteTestSkin(const TempFolder& folder, const std::wstring& buttonInfo) {
    WriteBmp(folder / L"bg.bmp", kBackgroundWidth, kBackgroundHeight, [](int, int) { return kBackgroundColour; });
    WriteBmp(folder / L"mask.bmp", kBackgroundWidth, kBackgroundHeight, [](int x, int y) {
        const bool corner = (x < 8 || x >= kBackgroundWidth - 8) && (y < 8 || y >= kBackgroundHeight - 8);
        return corner ? RGB(255, 255, 255) : RGB(0, 0, 0);
    });
    for (size_t i = 0; i < kTestStateImages.size(); ++i) {
        const COLORREF colour = kStateColours[i];
        WriteBmp(folder / kTestStateImages[i], kBackgroundWidth, kBackgroundHeight, [colour](int, int) { return colour; });
    }
    WriteText(folder / L"Test.ini", L"[SCREEN]\r\nMain=bg.bmp\r\nMask=mask.bmp\r\n[BUTTONINFO]\r\n" + buttonInfo);
}

TestDialog::TestDialog(const std::wstring& iniPath, const std::wstring& folder,
                       std::span<const wchar_t* const> stateImages)
    : TestDialogPaths{iniPath, folder},
      CBaseDialog(IDD_SKIN_TEST, nullptr, TestDialogPaths::iniPath.c_str(), TestDialogPaths::folder.c_str(), stateImages) {}

BOOL TestDialog::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    CPngButton* buttons[] = {&buttonA, &buttonB, &buttonC, &buttonD, &buttonE, &buttonF};
    const wchar_t* buttonKeys[] = {L"BUTTON_A", L"BUTTON_B", L"BUTTON_C", L"BUTTON_D", L"BUTTON_E", L"BUTTON_F"};
    for (size_t i = 0; i < 6; ++i) {
        buttons[i]->SubclassDlgItem(IDC_BUTTON_A + static_cast<int>(i), m_hWnd);
        PlaceSkinButton(*buttons[i], IniPath(), L"BUTTONINFO", buttonKeys[i], Surfaces().Faces(kTestFaces));
    }
    label.SubclassDlgItem(IDC_LABEL, m_hWnd);
    link.SubclassDlgItem(IDC_LINK, m_hWnd);
    slider.SubclassDlgItem(IDC_SLIDER, m_hWnd);
    colour.SubclassDlgItem(IDC_COLOUR, m_hWnd);
    list.SubclassDlgItem(IDC_LIST, m_hWnd);
    PlaceSkinControl(label.GetSafeHwnd(), IniPath(), L"BUTTONINFO", L"LABEL");
    MoveSkinControl(link.GetSafeHwnd(), IniPath(), L"BUTTONINFO", L"LINK");
    PlaceSkinControl(slider.GetSafeHwnd(), IniPath(), L"BUTTONINFO", L"SLIDER");
    PlaceSkinControl(colour.GetSafeHwnd(), IniPath(), L"BUTTONINFO", L"COLOUR");
    PlaceSkinControl(list.GetSafeHwnd(), IniPath(), L"BUTTONINFO", L"LIST");
    PlaceSkinControl(GetDlgItem(IDC_EDIT), IniPath(), L"BUTTONINFO", L"EDIT");
    for (int id : {IDC_LABEL_2, IDC_SLIDER_2, IDC_COLOUR_2, IDC_COMBO}) ::ShowWindow(GetDlgItem(id), SW_HIDE);
    return TRUE;
}

std::span<const fw::MessageEntry<TestDialog>> TestDialog::MessageTable() {
    static constexpr std::array<fw::MessageEntry<TestDialog>, 3> kMessages = {{
        fw::OnMessage(WM_COMMAND, &TestDialog::OnCommandMessage),
        fw::OnMessage(kSliderMessage, &TestDialog::OnSliderMessage),
        fw::OnMessage(WM_NCLBUTTONDOWN, &TestDialog::OnNcLButtonDown),
    }};
    return kMessages;
}

bool TestDialog::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (fw::DispatchMessageTable<TestDialog>(*this, MessageTable(), message, wp, lp, result)) return true;
    return CBaseDialog::ProcessWindowMessage(message, wp, lp, result);
}

LRESULT TestDialog::OnCommandMessage(WPARAM wp, LPARAM) {
    commands.emplace_back(LOWORD(wp), HIWORD(wp));
    return 0;
}

LRESULT TestDialog::OnSliderMessage(WPARAM wp, LPARAM lp) {
    sliderReports.emplace_back(wp, lp);
    return 0;
}

LRESULT TestDialog::OnNcLButtonDown(WPARAM wp, LPARAM lp) {
    // The drag itself would start the system's move loop, which waits for the real mouse.
    if (wp == HTCAPTION && lp == 2) ++backgroundPresses;
    return 0;
}

void Pump(fw::CDialog& dialog, DWORD milliseconds) {
    const ULONGLONG until = ::GetTickCount64() + milliseconds;
    MSG msg;
    for (;;) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (dialog.GetSafeHwnd() && dialog.PreTranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (::GetTickCount64() >= until) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

COLORREF PixelAt(HWND hwnd, int x, int y) {
    HDC dc = ::GetDC(hwnd);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(hwnd, dc);
    return c;
}

RECT ChildRect(HWND parent, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace kw::skin::test
