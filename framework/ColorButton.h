#pragma once
// A colour picker button: shows its colour and opens a palette pop-up below itself, with an
// optional "automatic" entry on top and an "other" entry at the bottom that opens the system
// colour dialog. Choosing a colour stores it and tells the parent with BN_CLICKED.
#include "framework/PopupWnd.h"
#include "framework/SubclassWnd.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kw::fw {

// Asks the user for a colour outside the palette; the system colour dialog unless replaced.
class IColorChooser {
public:
    virtual ~IColorChooser() = default;
    virtual std::optional<COLORREF> Choose(HWND owner, COLORREF initial) = 0;
};

class SystemColorChooser final : public IColorChooser {
public:
    std::optional<COLORREF> Choose(HWND owner, COLORREF initial) override;
};

// The colour of "automatic" when no colour is set.
inline constexpr COLORREF kAutomaticColor = static_cast<COLORREF>(-1);

class CColorButton;

// The palette pop-up. Items: the automatic entry (kAutomaticItem), the palette cells 0 .. n - 1 and
// the other entry (kOtherItem).
class CColorPopup : public CPopupWnd {
public:
    static constexpr int kAutomaticItem = -1;
    static constexpr int kOtherItem = -2;
    static constexpr int kNoItem = -3;
    static constexpr int kCellSize = 20;

    explicit CColorPopup(CColorButton& button) : m_button(button) {}
    bool Open(const RECT& buttonScreenRect);
    // The item's rectangle in the pop-up's client area (empty when there is no such item).
    RECT ItemRect(int item) const;
    int ItemAt(POINT clientPoint) const;
    int Highlighted() const { return m_highlight; }

    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    SIZE ClientSize() const;
    int Rows() const;
    void Paint(HDC dc) const;
    void Choose(int item);

    CColorButton& m_button;
    int m_highlight = kNoItem;
    bool m_closing = false;
};

class CColorButton : public CSubclassWnd {
public:
    CColorButton();
    ~CColorButton() override;

    COLORREF GetColor() const { return m_color; }  // kAutomaticColor when automatic
    void SetColor(COLORREF color);
    COLORREF GetAutomaticColor() const { return m_automaticColor; }
    // The colour the face shows: the colour, or the automatic colour when none is set.
    COLORREF GetShownColor() const { return m_color == kAutomaticColor ? m_automaticColor : m_color; }

    void SetPalette(std::vector<COLORREF> colors);
    const std::vector<COLORREF>& GetPalette() const { return m_palette; }
    void SetColumnsNumber(int columns);
    int GetColumnsNumber() const { return m_columns; }
    void EnableAutomaticButton(const std::wstring& label, COLORREF automatic, bool enable = true);
    // The alternative colour dialog flag is kept for owners that set it; the system dialog is used.
    void EnableOtherButton(const std::wstring& label, bool altColorDialog = false, bool enable = true);
    void SetColorChooser(IColorChooser* chooser) { m_chooser = chooser; }

    bool IsAutomaticEnabled() const { return m_automaticEnabled; }
    bool IsOtherEnabled() const { return m_otherEnabled; }
    const std::wstring& AutomaticLabel() const { return m_automaticLabel; }
    const std::wstring& OtherLabel() const { return m_otherLabel; }

    void OpenPopup();
    void ClosePopup();
    CColorPopup* Popup() const { return m_popup.get(); }

    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

    // Called by the pop-up when an item is chosen.
    void OnPopupChoice(int item);

protected:
    void PreSubclassWindow() override;
    // Draws the face; the default draws a swatch with a frame.
    virtual void DrawFace(HDC dc, const RECT& rect, UINT state);
    virtual void DrawFocus(HDC dc, const RECT& rect);
    // After the pop-up has opened (and the colour may have changed).
    virtual void OnPopupOpened() {}

private:
    void NotifyParent();

    COLORREF m_color = kAutomaticColor;
    COLORREF m_automaticColor = RGB(0, 0, 0);
    std::vector<COLORREF> m_palette;
    int m_columns = 8;
    bool m_automaticEnabled = false;
    bool m_otherEnabled = false;
    bool m_altColorDialog = false;
    std::wstring m_automaticLabel = L"Automatic";
    std::wstring m_otherLabel = L"Other...";
    SystemColorChooser m_systemChooser;
    IColorChooser* m_chooser;
    std::unique_ptr<CColorPopup> m_popup;
};

}  // namespace kw::fw
