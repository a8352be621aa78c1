#pragma once
// A dialog built from a template, run modal (with its own message loop, so PreTranslateMessage sees
// every message of the thread) or modeless.
#include "framework/MessageTable.h"
#include "framework/Wnd.h"

namespace kw::fw {

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_templateId(templateId), m_parent(parent) {}
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog; the result is what EndDialog was given, or -1 when the window
    // could not be created.
    INT_PTR DoModal();
    // Creates the dialog modeless; false when the window could not be created.
    bool Create(CWnd* parent = nullptr);
    void EndDialog(int result);
    void DestroyWindow();

    UINT TemplateId() const { return m_templateId; }

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // True when the message has been dealt with and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // The window's message table; derived classes search their table, then their base's.
    virtual bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    HWND ParentHwnd() const { return m_parent ? m_parent->GetSafeHwnd() : nullptr; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
    INT_PTR HandleMessage(UINT message, WPARAM wp, LPARAM lp);

    UINT m_templateId;
    CWnd* m_parent;
    bool m_modal = false;
    bool m_endRequested = false;
    int m_result = 0;
};

}  // namespace kw::fw
