#include "app/RunningInstance.h"

#include "app/CommandLine.h"
#include "framework/Handles.h"

#include <tlhelp32.h>

#include <vector>

namespace kw::app {

namespace {

std::vector<DWORD> ProcessesNamed(const std::wstring& exeFileName) {
    std::vector<DWORD> ids;
    fw::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    const DWORD self = ::GetCurrentProcessId();
    // The first entry is the system's idle process.
    if (!::Process32FirstW(snapshot.get(), &entry)) return ids;
    while (::Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID != self && EqualsIgnoringCase(entry.szExeFile, exeFileName))
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->processId && ::GetWindowLongPtrW(hwnd, GWLP_USERDATA) == kMainWindowMark) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindRunningMainWindow(const std::wstring& exeFileName) {
    for (DWORD pid : ProcessesNamed(exeFileName)) {
        WindowSearch search{pid, nullptr};
        ::EnumWindows(&CheckWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
    }
    return nullptr;
}

}  // namespace kw::app
