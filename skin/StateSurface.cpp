#include "skin/StateSurface.h"

#include "skin/SkinPicture.h"

namespace kw::skin {

void StateSurfaces::CreateOnce(HWND dialog, const std::wstring& skinFolder, std::span<const wchar_t* const> files) {
    if (m_created) return;
    m_surfaces.clear();
    m_surfaces.reserve(files.size());
    for (const wchar_t* file : files) {
        const SkinBitmap image = LoadSkinBitmap(skinFolder + file);
        fw::CMemoryDC surface;
        if (!RenderStateImage(surface, image, dialog)) ::ExitProcess(0);
        m_surfaces.push_back(std::move(surface));
    }
    m_created = true;
}

}  // namespace kw::skin
