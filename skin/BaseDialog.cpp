#include "skin/BaseDialog.h"

#include "framework/Gdi.h"
#include "framework/MessageTable.h"

#include <array>

namespace kw::skin {

namespace {
constexpr COLORREF kMaskTransparent = RGB(255, 255, 255);
constexpr COLORREF kMaskTolerance = RGB(0, 0, 0);
}  // namespace

std::span<const fw::MessageEntry<CBaseDialog>> CBaseDialog::MessageTable() {
    static constexpr std::array<fw::MessageEntry<CBaseDialog>, 4> kMessages = {{
        fw::OnMessage(WM_ERASEBKGND, &CBaseDialog::OnEraseBkgnd),
        fw::OnMessage(WM_LBUTTONDOWN, &CBaseDialog::OnLButtonDown),
        fw::OnMessage(WM_PAINT, &CBaseDialog::OnPaint),
        fw::OnMessage(WM_NCPAINT, &CBaseDialog::OnNcPaint),
    }};
    return kMessages;
}

CBaseDialog::CBaseDialog(UINT templateId, fw::CWnd* parent, const wchar_t* iniPath, const wchar_t* skinFolder,
                         std::span<const wchar_t* const> stateImages)
    : fw::CDialog(templateId, parent),
      m_iniPath(iniPath ? iniPath : L""),
      m_skinFolder(skinFolder ? skinFolder : L""),
      m_stateImages(stateImages) {}

CBaseDialog::~CBaseDialog() { ReleaseSkinImages(); }

BOOL CBaseDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    LoadSkin();
    if (!m_stateImages.empty()) m_surfaces.CreateOnce(m_hWnd, m_skinFolder, m_stateImages);
    return TRUE;
}

void CBaseDialog::LoadSkin() {
    m_ini.SetPath(m_iniPath);
    const std::wstring main = m_ini.ReadString(L"SCREEN", L"Main", L"");
    const std::wstring mask = m_ini.ReadString(L"SCREEN", L"Mask", main);
    const std::wstring folder = m_skinFolder;
    m_hBackground = LoadSkinPicture(folder + main);
    m_hMask = LoadSkinPicture(folder + mask);

    const SIZE size = m_hBackground.Size();
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    ::SetWindowPos(m_hWnd, HWND_TOP, window.left, window.top, size.cx, size.cy, SWP_HIDEWINDOW);

    fw::UniqueGdiObject region = CreateRegionFromMask(m_hMask.Bitmap(), kMaskTransparent, kMaskTolerance);
    if (region) {
        // A mask larger than the background must not reach past the window.
        fw::UniqueGdiObject bounds(::CreateRectRgn(0, 0, size.cx, size.cy));
        if (bounds) ::CombineRgn(static_cast<HRGN>(region.get()), static_cast<HRGN>(region.get()),
                                 static_cast<HRGN>(bounds.get()), RGN_AND);
        // The window owns the region from here on.
        if (::SetWindowRgn(m_hWnd, static_cast<HRGN>(region.get()), TRUE)) region.release();
    }
}

void CBaseDialog::ReleaseSkinImages() {
    m_hBackground.Reset();
    m_hMask.Reset();
}

void CBaseDialog::OnOK() {
    ReleaseSkinImages();
    fw::CDialog::OnOK();
}

void CBaseDialog::OnCancel() {
    ReleaseSkinImages();
    fw::CDialog::OnCancel();
}

bool CBaseDialog::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (fw::DispatchMessageTable<CBaseDialog>(*this, MessageTable(), message, wp, lp, result)) return true;
    return fw::CDialog::ProcessWindowMessage(message, wp, lp, result);
}

LRESULT CBaseDialog::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

LRESULT CBaseDialog::OnLButtonDown(WPARAM, LPARAM) {
    // Dragging any point of the background moves the window, as its caption would.
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 2);
    ::UpdateWindow(m_hWnd);
    return 0;
}

LRESULT CBaseDialog::OnPaint(WPARAM, LPARAM) {
    fw::CPaintDC dc(m_hWnd);
    if (!m_hBackground) return 0;
    const SIZE size = m_hBackground.Size();
    HDC memory = ::CreateCompatibleDC(dc);
    if (!memory) return 0;
    {
        fw::CSelectObject select(memory, m_hBackground.Bitmap());
        ::BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    }
    ::DeleteDC(memory);
    return 0;
}

LRESULT CBaseDialog::OnNcPaint(WPARAM, LPARAM) { return 0; }

}  // namespace kw::skin
