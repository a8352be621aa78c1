#pragma once
// The four layout operations: each reads one placement value ("x,y,w,h") from a layout file and
// places a control with it. A missing key places the control as a 1 by 1 square at (1, 1), and a
// button placed at (1, 1) is disabled: that is how a skin leaves a button out.
#include "skin/PngButton.h"

#include <string>

namespace kw::skin {

// Moves and sizes the button without repainting, hands it the surfaces with the image offset
// (x, y) and lets it repaint; disables it when it lands at (1, 1).
void PlaceSkinButton(CPngButton& button, const std::wstring& iniPath, const std::wstring& section,
                     const std::wstring& key, const StateFaces& faces);
// Moves and sizes any control without repainting.
void PlaceSkinControl(HWND control, const std::wstring& iniPath, const std::wstring& section, const std::wstring& key);
// Moves any control, keeping its size, and repaints it.
void MoveSkinControl(HWND control, const std::wstring& iniPath, const std::wstring& section, const std::wstring& key);
// Places the button from one key and paints it from a single surface, for all five states, at the
// image offset read from another key.
void PlaceSkinButtonFrom(CPngButton& button, const std::wstring& iniPath, const std::wstring& placeSection,
                         const std::wstring& placeKey, const std::wstring& offsetSection, const std::wstring& offsetKey,
                         const fw::CMemoryDC* surface);

}  // namespace kw::skin
