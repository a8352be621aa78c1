#pragma once
// A C++ object that takes over an existing child control's messages (through the common controls'
// window subclassing) and handles them through a message table, as a dialog does. The parent
// dialog reflects owner-draw, colour and notification messages of such a control back to it, and
// the dialog's message loop lets it look at its messages before they are dispatched.
#include "framework/Wnd.h"

namespace kw::fw {

// A reflected message arrives at the control as kReflectBase + the parent's message.
inline constexpr UINT kReflectBase = WM_USER + 0x1C00;

class CSubclassWnd : public CWnd {
public:
    CSubclassWnd() = default;
    ~CSubclassWnd() override;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Attaches to the window and routes its messages here; calls PreSubclassWindow first.
    // False when the window does not exist or is already taken over by another object.
    bool Subclass(HWND hwnd);
    bool SubclassDlgItem(int id, HWND parent) { return Subclass(::GetDlgItem(parent, id)); }
    // Gives the window back its own procedure. Done by itself when the window is destroyed.
    void Unsubclass();

    // The object that took over this window, if any (windows of this thread only).
    static CSubclassWnd* FromHandle(HWND hwnd);
    // Called by a parent for the messages its children should see: WM_DRAWITEM, WM_CTLCOLOR* and
    // WM_NOTIFY. True when the child handled it; `result` is then the parent's answer.
    static bool ReflectChildMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result);

    // Before the message is translated and dispatched; true when it has been dealt with.
    virtual BOOL PreTranslateMessage(MSG* /*msg*/) { return FALSE; }

    // The window's message table. Messages no row handles go to the control's own procedure.
    virtual bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result);
    // The control's own processing of a message.
    LRESULT DefWindowProc(UINT message, WPARAM wp, LPARAM lp);

    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    RECT GetClientRect() const;
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase ? TRUE : FALSE); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    void MoveWindow(int x, int y, int w, int h, bool repaint) const { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }

protected:
    virtual void PreSubclassWindow() {}
    // After the window is gone; the object may be reused for another window.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR ref);
    void Detach();
};

}  // namespace kw::fw
