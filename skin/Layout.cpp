#include "skin/Layout.h"

#include "skin/IniFile.h"

namespace kw::skin {

void PlaceSkinButton(CPngButton& button, const std::wstring& iniPath, const std::wstring& section,
                     const std::wstring& key, const StateFaces& faces) {
    const Placement p = ReadPlacement(iniPath, section, key);
    ::MoveWindow(button.GetSafeHwnd(), p.x, p.y, p.w, p.h, FALSE);
    button.SetImages(p.x, p.y, faces, true);
    if (DisablesButton(p)) ::EnableWindow(button.GetSafeHwnd(), FALSE);
}

void PlaceSkinControl(HWND control, const std::wstring& iniPath, const std::wstring& section, const std::wstring& key) {
    const Placement p = ReadPlacement(iniPath, section, key);
    ::MoveWindow(control, p.x, p.y, p.w, p.h, FALSE);
}

void MoveSkinControl(HWND control, const std::wstring& iniPath, const std::wstring& section, const std::wstring& key) {
    const Placement p = ReadPlacement(iniPath, section, key);
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MoveWindow(control, p.x, p.y, r.right - r.left, r.bottom - r.top, TRUE);
}

void PlaceSkinButtonFrom(CPngButton& button, const std::wstring& iniPath, const std::wstring& placeSection,
                         const std::wstring& placeKey, const std::wstring& offsetSection, const std::wstring& offsetKey,
                         const fw::CMemoryDC* surface) {
    const Placement p = ReadPlacement(iniPath, placeSection, placeKey);
    ::MoveWindow(button.GetSafeHwnd(), p.x, p.y, p.w, p.h, FALSE);
    const Placement offset = ReadPlacement(iniPath, offsetSection, offsetKey);
    button.SetImages(offset.x, offset.y, StateFaces{surface, surface, surface, surface, surface}, true);
}

}  // namespace kw::skin
