#pragma once
// A dialog's button-state surfaces: one per state picture of the dialog, rendered on the first
// opening of the dialog object and reused on every later opening.
#include "framework/Gdi.h"
#include "skin/StateImages.h"

#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace kw::skin {

// The five surfaces a button paints from; any of them may be missing.
struct StateFaces {
    const fw::CMemoryDC* normal = nullptr;
    const fw::CMemoryDC* hover = nullptr;
    const fw::CMemoryDC* pressed = nullptr;
    const fw::CMemoryDC* disabled = nullptr;
    const fw::CMemoryDC* selected = nullptr;
};

class StateSurfaces {
public:
    // Decodes each picture (looked up in `skinFolder`) and renders it for `dialog`. Does nothing
    // once the surfaces exist. A picture that is missing or does not decode gives a blank surface.
    // Ends the process (exit code 0) when GDI has no room for a surface.
    void CreateOnce(HWND dialog, const std::wstring& skinFolder, std::span<const wchar_t* const> files);

    bool Created() const { return m_created; }
    size_t Count() const { return m_surfaces.size(); }
    const fw::CMemoryDC* At(size_t index) const { return index < m_surfaces.size() ? &m_surfaces[index] : nullptr; }
    StateFaces Faces(const StateAssignment& a) const {
        return {At(a.normal), At(a.hover), At(a.pressed), At(a.disabled), At(a.selected)};
    }

private:
    std::vector<fw::CMemoryDC> m_surfaces;
    bool m_created = false;
};

}  // namespace kw::skin
