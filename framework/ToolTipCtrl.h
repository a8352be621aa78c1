#pragma once
// A tooltip control owned by the object: created on demand, destroyed with it.
#include <windows.h>

#include <string>

namespace kw::fw {

class CToolTipCtrl {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() { Destroy(); }
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    bool Create(HWND owner, DWORD style);
    void Destroy();
    HWND GetSafeHwnd() const { return m_hWnd; }
    explicit operator bool() const { return m_hWnd != nullptr; }

    bool AddTool(HWND tool, UINT_PTR id, const RECT& rect, const std::wstring& text);
    int GetToolCount() const;
    void UpdateTipText(HWND tool, UINT_PTR id, const std::wstring& text);
    std::wstring GetText(HWND tool, UINT_PTR id) const;
    // The automatic delay sets the initial, pop-up and reshow delays together.
    void SetDelayTime(UINT milliseconds);
    UINT GetInitialDelay() const;
    void Activate(bool active);
    void RelayEvent(MSG* msg);
    void Update();

private:
    HWND m_hWnd = nullptr;
};

}  // namespace kw::fw
