#pragma once
// Finding and signalling a copy of the program that already runs: by its executable's file name in
// the process list, then by the top-level window it marked as its main window.
#include <windows.h>

#include <string>

namespace kw::app {

inline constexpr LONG_PTR kMainWindowMark = 0x4D41494E;  // "MAIN"

// The marked main window of another running copy of the executable; null when there is none.
HWND FindRunningMainWindow(const std::wstring& exeFileName);

}  // namespace kw::app
