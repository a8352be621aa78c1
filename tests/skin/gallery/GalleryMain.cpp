// skin_gallery.exe: one skinned dialog holding every control of the toolkit, each button in one of
// its states, drawn from pictures this program generates (dark theme, orange accent). It is what
// scripts/gallery-screenshot photographs. "--close-after MS" ends it by itself after MS ms;
// "--skin DIR" shows the profile manager of the skin in DIR instead.
#include "framework/Gdi.h"
#include "framework/MessageTable.h"
#include "skin/BaseDialog.h"
#include "skin/BitmapSlider.h"
#include "skin/ColorStatic.h"
#include "skin/GdiplusSession.h"
#include "skin/HyperLink.h"
#include "skin/Layout.h"
#include "skin/PngButton.h"
#include "skin/ReportCtrl.h"
#include "skin/SkinColorBtn.h"
#include "tests/skin/SkinTestResources.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace kw::skin::gallery {
namespace {

constexpr UINT kGalleryTemplate = 600;
constexpr int kWidth = 760;
constexpr int kHeight = 500;
constexpr COLORREF kAccent = RGB(255, 130, 0);
constexpr COLORREF kInk = RGB(230, 232, 238);
constexpr COLORREF kPanel = RGB(26, 29, 36);
constexpr COLORREF kPanelEdge = RGB(44, 48, 58);
constexpr std::array<const wchar_t*, 5> kStateFiles = {L"g_normal.bmp", L"g_over.bmp", L"g_down.bmp", L"g_disable.bmp",
                                                       L"g_select.bmp"};
constexpr StateAssignment kFaces{0, 1, 2, 3, 4};

struct ButtonPlace {
    const wchar_t* key;
    RECT rect;
};
constexpr std::array<ButtonPlace, 6> kButtons = {{
    {L"BUTTON_A", {28, 88, 136, 124}},  {L"BUTTON_B", {148, 88, 256, 124}}, {L"BUTTON_C", {268, 88, 376, 124}},
    {L"BUTTON_D", {388, 88, 496, 124}}, {L"BUTTON_E", {508, 88, 616, 124}}, {L"BUTTON_F", {628, 88, 736, 124}},
}};

// A 32-bit top-down drawing surface that can be saved as a BMP file.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        m_dc = ::CreateCompatibleDC(nullptr);
        m_old = ::SelectObject(m_dc, m_bitmap.get());
        ::SetBkMode(m_dc, TRANSPARENT);
    }
    ~Canvas() {
        ::SelectObject(m_dc, m_old);
        ::DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC Dc() const { return m_dc; }

    void Fill(const RECT& r, COLORREF colour) const {
        fw::UniqueGdiObject brush(::CreateSolidBrush(colour));
        ::FillRect(m_dc, &r, static_cast<HBRUSH>(brush.get()));
    }
    void Rounded(const RECT& r, int radius, COLORREF fill, COLORREF edge, int edgeWidth = 1) const {
        fw::UniqueGdiObject brush(::CreateSolidBrush(fill));
        fw::UniqueGdiObject pen(::CreatePen(PS_SOLID, edgeWidth, edge));
        fw::CSelectObject b(m_dc, brush.get());
        fw::CSelectObject p(m_dc, pen.get());
        ::RoundRect(m_dc, r.left, r.top, r.right, r.bottom, radius, radius);
    }
    void Text(const std::wstring& text, RECT r, COLORREF colour, int height, int weight, UINT format) const {
        fw::UniqueGdiObject font(::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, 0, L"Tahoma"));
        fw::CSelectObject f(m_dc, font.get());
        ::SetTextColor(m_dc, colour);
        ::DrawTextW(m_dc, text.c_str(), -1, &r, format);
    }
    void Save(const std::wstring& path) const {
        ::GdiFlush();
        const int rowBytes = m_width * 3;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{sizeof(info), m_width, m_height, 1, 24, BI_RGB, static_cast<DWORD>(rowBytes * m_height),
                              0, 0, 0, 0};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + info.biSizeImage;
        std::vector<unsigned char> bytes(file.bfSize);
        std::memcpy(bytes.data(), &file, sizeof(file));
        std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
        const auto* pixels = static_cast<const uint32_t*>(m_bits);
        for (int y = 0; y < m_height; ++y) {
            unsigned char* row = bytes.data() + file.bfOffBits + static_cast<size_t>(m_height - 1 - y) * rowBytes;
            for (int x = 0; x < m_width; ++x) {
                const uint32_t p = pixels[static_cast<size_t>(y) * m_width + x];
                row[x * 3] = static_cast<unsigned char>(p);
                row[x * 3 + 1] = static_cast<unsigned char>(p >> 8);
                row[x * 3 + 2] = static_cast<unsigned char>(p >> 16);
            }
        }
        HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(out);
    }

private:
    int m_width;
    int m_height;
    void* m_bits = nullptr;
    fw::UniqueGdiObject m_bitmap;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

void DrawBackground(const Canvas& c) {
    c.Fill({0, 0, kWidth, kHeight}, RGB(17, 19, 24));
    c.Fill({0, 0, kWidth, 52}, RGB(24, 27, 34));
    c.Fill({0, 52, kWidth, 54}, kAccent);
    c.Text(L"KEYWEAVE", {24, 10, 300, 44}, kInk, 22, FW_BOLD, DT_SINGLELINE | DT_VCENTER);
    c.Text(L"skin toolkit gallery", {160, 10, 500, 44}, RGB(140, 146, 160), 15, FW_NORMAL, DT_SINGLELINE | DT_VCENTER);
    c.Rounded({14, 64, kWidth - 14, 140}, 10, kPanel, kPanelEdge);
    c.Text(L"IMAGE BUTTONS  -  normal / hover / pressed / disabled / selected / outline", {28, 68, 700, 86},
           RGB(140, 146, 160), 11, FW_BOLD, DT_SINGLELINE);
    c.Rounded({14, 150, kWidth - 14, kHeight - 14}, 10, kPanel, kPanelEdge);
    c.Text(L"CUSTOM CONTROLS", {28, 154, 400, 172}, RGB(140, 146, 160), 11, FW_BOLD, DT_SINGLELINE);
    c.Text(L"Report list: check boxes, in-place edit, cell colours", {28, 250, 480, 268}, RGB(120, 126, 140), 11,
           FW_NORMAL, DT_SINGLELINE);
    c.Text(L"Colour buttons", {520, 176, 740, 194}, RGB(120, 126, 140), 11, FW_NORMAL, DT_SINGLELINE);
}

void WriteSkin(const std::wstring& folder) {
    Canvas background(kWidth, kHeight);
    DrawBackground(background);
    background.Save(folder + L"g_background.bmp");

    Canvas mask(kWidth, kHeight);
    mask.Fill({0, 0, kWidth, kHeight}, RGB(255, 255, 255));
    mask.Rounded({0, 0, kWidth + 1, kHeight + 1}, 24, RGB(0, 0, 0), RGB(0, 0, 0));
    mask.Save(folder + L"g_mask.bmp");

    struct Look {
        COLORREF fill;
        COLORREF edge;
    };
    const std::array<Look, 5> looks = {{
        {RGB(40, 44, 54), RGB(62, 67, 80)},    // normal
        {RGB(52, 57, 70), kAccent},            // hover
        {RGB(70, 38, 8), RGB(255, 155, 4)},    // pressed
        {RGB(30, 32, 38), RGB(40, 43, 51)},    // disabled
        {RGB(255, 130, 0), RGB(255, 170, 60)}, // selected
    }};
    for (size_t state = 0; state < kStateFiles.size(); ++state) {
        Canvas picture(kWidth, kHeight);
        DrawBackground(picture);
        for (const ButtonPlace& place : kButtons) {
            // The skin contract: a button at (x, y) shows the picture from (x - 1, y - 1).
            RECT r = place.rect;
            ::OffsetRect(&r, -1, -1);
            picture.Rounded(r, 8, looks[state].fill, looks[state].edge, state == 1 ? 2 : 1);
        }
        picture.Save(folder + kStateFiles[state]);
    }

    std::wstring layout = L"[SCREEN]\r\nMain=g_background.bmp\r\nMask=g_mask.bmp\r\n[BUTTONINFO]\r\n";
    for (const ButtonPlace& place : kButtons) {
        const RECT& r = place.rect;
        layout += std::wstring(place.key) + L"=" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
                  std::to_wstring(r.right - r.left) + L"," + std::to_wstring(r.bottom - r.top) + L",x\r\n";
    }
    layout +=
        L"LABEL=28,186,100,20\r\nLABEL_2=28,216,100,22\r\nSLIDER=130,188,220,16\r\nSLIDER_2=130,218,220,16\r\n"
        L"COLOUR=520,198,90,24\r\nCOLOUR_2=624,198,90,24\r\nLINK=380,188,10,10\r\nLIST=28,272,470,206\r\n"
        L"EDIT=520,380,214,24\r\nCOMBO=520,420,214,200\r\n";
    std::string bytes = "\xFF\xFE";
    for (wchar_t ch : layout) {
        bytes.push_back(static_cast<char>(ch & 0xFF));
        bytes.push_back(static_cast<char>(ch >> 8));
    }
    HANDLE out = ::CreateFileW((folder + L"Gallery.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(out);
}

HBITMAP MakeChannel(int width, int height) {
    Canvas c(width, height);
    c.Fill({0, 0, width, height}, kPanel);
    c.Rounded({0, height / 2 - 3, width, height / 2 + 3}, 6, RGB(50, 54, 64), RGB(50, 54, 64));
    for (int i = 0; i <= 5; ++i) {
        const int x = 6 + i * (width - 13) / 5;
        c.Fill({x, height - 3, x + 1, height}, RGB(110, 116, 130));
    }
    HBITMAP copy = static_cast<HBITMAP>(::CopyImage(::GetCurrentObject(c.Dc(), OBJ_BITMAP), IMAGE_BITMAP, 0, 0, 0));
    return copy;
}

HBITMAP MakeThumb() {
    Canvas c(12, 16);
    c.Fill({0, 0, 12, 16}, RGB(255, 0, 255));
    c.Rounded({0, 0, 12, 16}, 6, kAccent, RGB(255, 190, 120));
    return static_cast<HBITMAP>(::CopyImage(::GetCurrentObject(c.Dc(), OBJ_BITMAP), IMAGE_BITMAP, 0, 0, 0));
}

class GalleryDialog : public CBaseDialog {
public:
    GalleryDialog(const std::wstring& ini, const std::wstring& folder, UINT closeAfterMs)
        : CBaseDialog(kGalleryTemplate, nullptr, ini.c_str(), folder.c_str(), kStateFiles), m_closeAfterMs(closeAfterMs) {}

    BOOL OnInitDialog() override {
        CBaseDialog::OnInitDialog();
        const std::wstring ini = IniPath();
        CPngButton* buttons[] = {&m_a, &m_b, &m_c, &m_d, &m_e, &m_f};
        for (size_t i = 0; i < 6; ++i) {
            buttons[i]->SubclassDlgItem(IDC_BUTTON_A + static_cast<int>(i), m_hWnd);
            PlaceSkinButton(*buttons[i], ini, L"BUTTONINFO", kButtons[i].key, Surfaces().Faces(kFaces));
            buttons[i]->SetTextStyle(true, 10, L"Tahoma", {0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF}, 37);
        }
        m_a.SetTooltip(L"A button in its normal state", true);
        ::SendMessageW(m_b.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
        ::SendMessageW(m_c.GetSafeHwnd(), BM_SETSTATE, TRUE, 0);
        ::EnableWindow(m_d.GetSafeHwnd(), FALSE);
        m_e.SetSelected(true, true);

        m_label.SubclassDlgItem(IDC_LABEL, m_hWnd);
        m_label2.SubclassDlgItem(IDC_LABEL_2, m_hWnd);
        m_link.SubclassDlgItem(IDC_LINK, m_hWnd);
        m_slider.SubclassDlgItem(IDC_SLIDER, m_hWnd);
        m_slider2.SubclassDlgItem(IDC_SLIDER_2, m_hWnd);
        m_colour.SubclassDlgItem(IDC_COLOUR, m_hWnd);
        m_colour2.SubclassDlgItem(IDC_COLOUR_2, m_hWnd);
        m_list.SubclassDlgItem(IDC_LIST, m_hWnd);
        const wchar_t* controls[][2] = {{L"LABEL", nullptr}, {L"LABEL_2", nullptr}, {L"SLIDER", nullptr},
                                        {L"SLIDER_2", nullptr}, {L"COLOUR", nullptr}, {L"COLOUR_2", nullptr},
                                        {L"LIST", nullptr}, {L"EDIT", nullptr}, {L"COMBO", nullptr}};
        const int ids[] = {IDC_LABEL, IDC_LABEL_2, IDC_SLIDER, IDC_SLIDER_2, IDC_COLOUR, IDC_COLOUR_2, IDC_LIST, IDC_EDIT, IDC_COMBO};
        for (size_t i = 0; i < std::size(ids); ++i) PlaceSkinControl(GetDlgItem(ids[i]), ini, L"BUTTONINFO", controls[i][0]);
        MoveSkinControl(m_link.GetSafeHwnd(), ini, L"BUTTONINFO", L"LINK");

        m_label.SetTextColor(kAccent);
        m_label.SetFontHeight(15);
        m_label2.SetTextColor(kInk);
        m_label2.SetFontHeight(15);
        m_slider.SetRange(0, 5);
        m_slider.SetMargin(6);
        m_slider.SetPos(2);
        m_slider2.SetChannelBitmap(MakeChannel(220, 16));
        m_slider2.SetThumbBitmap(MakeThumb());
        m_slider2.SetRange(0, 5);
        m_slider2.SetMargin(6);
        m_slider2.SetPos(4);

        m_colour.SetColor(RGB(230, 40, 60));
        for (fw::CColorButton* b : {static_cast<fw::CColorButton*>(&m_colour), static_cast<fw::CColorButton*>(&m_colour2)}) {
            b->EnableAutomaticButton(L"Automatic", RGB(0, 170, 255));
            b->EnableOtherButton(L"other", false, true);
            b->SetColumnsNumber(10);
        }

        FillList();
        fw::CEdit(GetDlgItem(IDC_EDIT)).SetWindowText(L"A plain edit box");
        fw::CComboBox combo(GetDlgItem(IDC_COMBO));
        for (const wchar_t* s : {L"Wave", L"Breathing", L"Reactive", L"Static"}) combo.AddString(s);
        combo.SetCurSel(0);

        ::SetTimer(m_hWnd, kOpenTimer, 400, nullptr);
        if (m_closeAfterMs) ::SetTimer(m_hWnd, kCloseTimer, m_closeAfterMs, nullptr);
        return TRUE;
    }

    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (message == WM_TIMER && wp == kOpenTimer) {
            ::KillTimer(m_hWnd, kOpenTimer);
            // A cell being edited and the palette open, so the picture shows both.
            m_list.StartEdit(3, 2);
            m_colour2.OpenPopup();
            // Outline mode copies no picture: it frames the face painted before.
            m_f.SetOutline(kAccent, true);
            return true;
        }
        if (message == WM_TIMER && wp == kCloseTimer) {
            m_colour2.ClosePopup();
            OnCancel();
            return true;
        }
        return CBaseDialog::ProcessWindowMessage(message, wp, lp, result);
    }

private:
    static constexpr UINT_PTR kOpenTimer = 1;
    static constexpr UINT_PTR kCloseTimer = 2;

    void FillList() {
        m_list.SendMessage(LVM_SETBKCOLOR, 0, RGB(22, 24, 30));
        m_list.SendMessage(LVM_SETTEXTBKCOLOR, 0, RGB(22, 24, 30));
        m_list.SendMessage(LVM_SETTEXTCOLOR, 0, kInk);
        m_list.InsertColumn(0, L"Key", LVCFMT_LEFT, 170);
        m_list.InsertColumn(1, L"Action", LVCFMT_LEFT, 150);
        m_list.InsertColumn(2, L"Delay (ms)", LVCFMT_LEFT, 120);
        const wchar_t* rows[][3] = {{L"Left Ctrl", L"\u2193 press", L"0"},     {L"C", L"\u2193 press", L"50"},
                                    {L"C", L"\u2191 release", L"30"},          {L"Left Ctrl", L"\u2191 release", L"40"},
                                    {L"Mouse left", L"\u2193 press", L"500"},  {L"Mouse left", L"\u2191 release", L"10"}};
        for (int i = 0; i < 6; ++i) {
            m_list.InsertItem(i, rows[i][0]);
            m_list.SetItemText(i, 1, rows[i][1]);
            m_list.SetItemText(i, 2, rows[i][2]);
        }
        m_list.SetGridLines(true);
        m_list.SetCheckboxStyle(CheckboxStyle::Single);
        m_list.SetItemStates(1, kRowChecked);
        m_list.SetItemTextColor(4, -1, kAccent);
        m_list.SetItemBkColor(5, 2, RGB(60, 30, 40));
        m_list.SetEditable(true);
    }

    UINT m_closeAfterMs;
    CPngButton m_a, m_b, m_c, m_d, m_e, m_f;
    ColorStatic m_label, m_label2;
    CHyperLink m_link;
    CBitmapSlider m_slider, m_slider2;
    CSkinColorBtn m_colour, m_colour2;
    CReportCtrl m_list;
};

// The shipped skin's profile manager layout drawn by the toolkit: its pictures, its places.
class ProfilePreview : public CBaseDialog {
public:
    ProfilePreview(const std::wstring& ini, const std::wstring& folder, UINT closeAfterMs)
        : CBaseDialog(kGalleryTemplate, nullptr, ini.c_str(), folder.c_str(), kProfileStateImages),
          m_closeAfterMs(closeAfterMs) {}

    BOOL OnInitDialog() override {
        CBaseDialog::OnInitDialog();
        const std::wstring ini = IniPath();
        const wchar_t* keys[] = {L"FUNC_ADD", L"FUNC_LOAD", L"FUNC_DELETE", L"CONTROL2_APPLY", L"CONTROL_OK", L"CONTROL_CANCEL"};
        CPngButton* buttons[] = {&m_buttons[0], &m_buttons[1], &m_buttons[2], &m_buttons[3], &m_buttons[4], &m_buttons[5]};
        for (size_t i = 0; i < 6; ++i) {
            buttons[i]->SubclassDlgItem(IDC_BUTTON_A + static_cast<int>(i), m_hWnd);
            PlaceSkinButton(*buttons[i], ini, L"BUTTONINFO", keys[i], Surfaces().Faces(kProfileButtons));
        }
        ::SendMessageW(m_buttons[1].GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
        ::SendMessageW(m_buttons[2].GetSafeHwnd(), BM_SETSTATE, TRUE, 0);
        m_list.SubclassDlgItem(IDC_LIST, m_hWnd);
        PlaceSkinControl(m_list.GetSafeHwnd(), ini, L"BUTTONINFO", L"PROGRAM_LIST");
        m_list.InsertColumn(0, L"", LVCFMT_LEFT, 28);
        m_list.InsertColumn(1, L"Profile", LVCFMT_LEFT, 160);
        m_list.InsertColumn(2, L"Folder", LVCFMT_LEFT, 240);
        for (int i = 0; i < 3; ++i) {
            m_list.InsertItem(i, L"");
            m_list.SetItemText(i, 1, L"Profile" + std::to_wstring(i + 1) + L".kwp");
            m_list.SetItemText(i, 2, L"C:\\Users\\owner\\AppData\\Local\\Keyweave\\");
        }
        m_list.SetGridLines(true);
        m_list.SetCheckboxStyle(CheckboxStyle::Single);
        m_list.SetItemStates(0, kRowChecked | kRowSelected);
        for (int id : {IDC_LABEL, IDC_LABEL_2, IDC_LINK, IDC_SLIDER, IDC_SLIDER_2, IDC_COLOUR, IDC_COLOUR_2, IDC_EDIT, IDC_COMBO})
            ::ShowWindow(GetDlgItem(id), SW_HIDE);
        if (m_closeAfterMs) ::SetTimer(m_hWnd, 2, m_closeAfterMs, nullptr);
        return TRUE;
    }

    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (message == WM_TIMER && wp == 2) {
            OnCancel();
            return true;
        }
        return CBaseDialog::ProcessWindowMessage(message, wp, lp, result);
    }

private:
    UINT m_closeAfterMs;
    std::array<CPngButton, 6> m_buttons;
    CReportCtrl m_list;
};

}  // namespace
}  // namespace kw::skin::gallery

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    using namespace kw::skin::gallery;
    UINT closeAfter = 0;
    std::wstring skinFolder;
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    for (int i = 1; argv && i + 1 < argc; ++i) {
        if (std::wstring(argv[i]) == L"--close-after") closeAfter = static_cast<UINT>(std::wcstoul(argv[i + 1], nullptr, 10));
        if (std::wstring(argv[i]) == L"--skin") skinFolder = argv[i + 1];
    }
    if (argv) ::LocalFree(argv);

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::OleInitialize(nullptr);
    kw::skin::GdiplusSession gdiplus;

    if (!skinFolder.empty()) {
        // "--skin DIR": the shipped skin's profile manager instead of the generated gallery.
        if (skinFolder.back() != L'\\') skinFolder += L'\\';
        const std::wstring ini = skinFolder + L"Profile.ini";
        ProfilePreview preview(ini, skinFolder, closeAfter);
        preview.DoModal();
        ::OleUninitialize();
        return 0;
    }

    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kw_gallery_" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    WriteSkin(folder);
    const std::wstring ini = folder + L"Gallery.ini";
    {
        GalleryDialog dialog(ini, folder, closeAfter);
        dialog.DoModal();
    }
    for (const wchar_t* file : {L"g_background.bmp", L"g_mask.bmp", L"Gallery.ini"}) ::DeleteFileW((folder + file).c_str());
    for (const wchar_t* file : kStateFiles) ::DeleteFileW((folder + file).c_str());
    ::RemoveDirectoryW(folder.c_str());
    ::OleUninitialize();
    return 0;
}
