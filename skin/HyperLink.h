#pragma once
// A static text that opens a web address when clicked: link colour, visited colour once opened,
// hover colour and underline while the cursor is over it, a hand cursor and the address as tooltip.
#include "framework/Handles.h"
#include "framework/SubclassWnd.h"
#include "framework/ToolTipCtrl.h"

#include <string>

namespace kw::skin {

// How an address is opened and a failure told. The system one asks the shell to "open" the address
// and shows a message box; tests put their own in its place.
class IHyperlinkShell {
public:
    virtual ~IHyperlinkShell() = default;
    // The shell's result: above 32 is success, otherwise an error code.
    virtual INT_PTR Open(HWND owner, const std::wstring& address) = 0;
    virtual void ReportFailure(HWND owner, const std::wstring& text) = 0;
};

class SystemHyperlinkShell final : public IHyperlinkShell {
public:
    INT_PTR Open(HWND owner, const std::wstring& address) override;
    void ReportFailure(HWND owner, const std::wstring& text) override;
};

class CHyperLink : public fw::CSubclassWnd {
public:
    static constexpr COLORREF kLinkColour = 0xEE0000;
    static constexpr COLORREF kVisitedColour = 0x8B1A55;
    static constexpr COLORREF kHoverColour = 0x0000FF;
    static constexpr UINT_PTR kHoverTimer = 100;
    static constexpr UINT kHoverPeriodMs = 100;
    // Underline: -1 while hovered, 0 never, 1 always.
    static constexpr int kUnderlineHover = -1;
    static constexpr int kUnderlineNever = 0;
    static constexpr int kUnderlineAlways = 1;

    CHyperLink() : m_shell(&m_systemShell) {}

    void SetURL(const std::wstring& url);
    const std::wstring& GetURL() const { return m_url; }
    void SetUnderline(int mode);
    void SetAutoSize(bool adjust) { m_adjustToFit = adjust; }
    void SetVisited(bool visited);
    bool IsVisited() const { return m_visited; }
    bool IsHovering() const { return m_hover; }
    void SetShell(IHyperlinkShell* shell) { m_shell = shell ? shell : &m_systemShell; }
    // The colour the text is drawn in now.
    COLORREF CurrentColour() const;
    bool IsUnderlined() const;
    const fw::CToolTipCtrl& Tooltip() const { return m_tooltip; }

    // Opens the address: web addresses only, through the shell. True on success.
    bool Open();

    BOOL PreTranslateMessage(MSG* msg) override;
    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    void PreSubclassWindow() override;

private:
    void ApplyFont();
    void FitToText();
    void Repaint() const;

    std::wstring m_url;
    HFONT m_normalFont = nullptr;  // the control's own font, not owned
    fw::UniqueGdiObject m_underlinedFont;
    bool m_visited = false;
    bool m_hover = false;
    int m_underline = kUnderlineHover;
    bool m_adjustToFit = true;
    HCURSOR m_cursor = nullptr;  // shared system cursor
    fw::CToolTipCtrl m_tooltip;
    SystemHyperlinkShell m_systemShell;
    IHyperlinkShell* m_shell;
};

}  // namespace kw::skin
