#pragma once
// Thin, non-owning wrappers over window handles. A child control is destroyed with its dialog,
// so these never destroy what they wrap.
#include <windows.h>

#include <string>

namespace kw::fw {

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    bool IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND Detach() { HWND h = m_hWnd; m_hWnd = nullptr; return h; }

    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(bool enable) const { return ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
    BOOL SetWindowText(const std::wstring& text) const { return ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp); }
    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    LONG_PTR GetExStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    void ModifyStyle(LONG_PTR remove, LONG_PTR add) const {
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (GetStyle() & ~remove) | add);
    }
    void ModifyStyleEx(LONG_PTR remove, LONG_PTR add) const {
        ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, (GetExStyle() & ~remove) | add);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) const { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }

protected:
    HWND m_hWnd = nullptr;
};

// Control wrappers: typed access to a dialog's child by id.
class CButton : public CWnd {
public:
    using CWnd::CWnd;
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class CStatic : public CWnd {
public:
    using CWnd::CWnd;
    HBITMAP SetBitmap(HBITMAP bitmap) const {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
};

class CEdit : public CWnd {
public:
    using CWnd::CWnd;
    void SetLimitText(UINT max) const { SendMessage(EM_SETLIMITTEXT, max); }
};

class CComboBox : public CWnd {
public:
    using CWnd::CWnd;
    int AddString(const std::wstring& s) const {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())));
    }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int i) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(i))); }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
};

}  // namespace kw::fw
