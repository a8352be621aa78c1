#pragma once
// A borderless top-level window of the program's own class (drop-downs, palettes), whose messages
// go to the C++ object's message table. The object owns the window.
#include "framework/Wnd.h"

namespace kw::fw {

class CPopupWnd : public CWnd {
public:
    CPopupWnd() = default;
    ~CPopupWnd() override { DestroyWindow(); }
    CPopupWnd(const CPopupWnd&) = delete;
    CPopupWnd& operator=(const CPopupWnd&) = delete;

    // Creates the window at the given screen rectangle, owned by `owner`. False on failure.
    bool CreatePopup(HWND owner, const RECT& screenRect, DWORD style = WS_POPUP | WS_BORDER,
                     DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    void DestroyWindow();

    virtual bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    // After the window is gone.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
};

}  // namespace kw::fw
