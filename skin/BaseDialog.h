#pragma once
// The base of every skinned dialog: its background and outline come from the pictures its layout
// file names in section "SCREEN", its buttons paint from state surfaces made from the dialog's
// state pictures, and the user moves it by dragging any point of its background.
#include "framework/Dialog.h"
#include "framework/MessageTable.h"
#include "skin/IniFile.h"
#include "skin/SkinPicture.h"
#include "skin/StateSurface.h"

#include <span>

namespace kw::skin {

class CBaseDialog : public fw::CDialog {
public:
    // `iniPath` and `skinFolder` (ending in a backslash) are not copied: they are the program's
    // start-up path buffers and outlive the dialog. `stateImages` names the dialog's button-state
    // pictures in the skin folder (a table of StateImages.h).
    CBaseDialog(UINT templateId, fw::CWnd* parent, const wchar_t* iniPath, const wchar_t* skinFolder,
                std::span<const wchar_t* const> stateImages = {});
    ~CBaseDialog() override;

    // Loads the skin: background, window size, outline, then the state surfaces (once per object).
    // Ends the process (exit code 0) when the background or the mask cannot be loaded.
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

    // Releases the background and the mask; derived dialogs that end the dialog themselves call it.
    void ReleaseSkinImages();

    const wchar_t* IniPath() const { return m_iniPath; }
    const wchar_t* SkinFolder() const { return m_skinFolder; }
    const CIniFile& Ini() const { return m_ini; }
    HBITMAP Background() const { return m_hBackground.Bitmap(); }
    HBITMAP Mask() const { return m_hMask.Bitmap(); }
    const StateSurfaces& Surfaces() const { return m_surfaces; }

protected:
    LRESULT OnEraseBkgnd(WPARAM wp, LPARAM lp);
    LRESULT OnLButtonDown(WPARAM wp, LPARAM lp);
    LRESULT OnPaint(WPARAM wp, LPARAM lp);
    LRESULT OnNcPaint(WPARAM wp, LPARAM lp);

private:
    static std::span<const fw::MessageEntry<CBaseDialog>> MessageTable();
    void LoadSkin();

    SkinPicture m_hBackground;
    SkinPicture m_hMask;
    const wchar_t* m_iniPath;
    const wchar_t* m_skinFolder;
    CIniFile m_ini;
    std::span<const wchar_t* const> m_stateImages;
    StateSurfaces m_surfaces;
};

}  // namespace kw::skin
