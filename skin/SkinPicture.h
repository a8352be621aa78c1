#pragma once
// Skin pictures: backgrounds and masks decoded with the OLE picture loader, button-state pictures
// decoded with GDI+, the surfaces the state pictures are rendered into, and the window outline cut
// from a mask.
#include "framework/Gdi.h"
#include "framework/Handles.h"

#include <windows.h>

#include <string>

struct IPicture;

namespace kw::skin {

// A picture decoded by the OLE picture loader. The bitmap belongs to the picture object, so it
// stays valid exactly as long as this object holds the picture.
class SkinPicture {
public:
    SkinPicture() = default;
    ~SkinPicture() { Reset(); }
    SkinPicture(SkinPicture&& o) noexcept;
    SkinPicture& operator=(SkinPicture&& o) noexcept;
    SkinPicture(const SkinPicture&) = delete;
    SkinPicture& operator=(const SkinPicture&) = delete;

    // Reads the whole file and decodes it. Empty when the file is missing, unreadable, empty or
    // not a picture.
    static SkinPicture Load(const std::wstring& fullPath);

    HBITMAP Bitmap() const { return m_bitmap; }
    SIZE Size() const;
    explicit operator bool() const { return m_bitmap != nullptr; }
    void Reset();

private:
    IPicture* m_picture = nullptr;
    HBITMAP m_bitmap = nullptr;
};

// A skin without its background or mask cannot be shown at all: the process ends quietly with
// exit code 0. This never returns on failure.
SkinPicture LoadSkinPicture(const std::wstring& fullPath);

// A button-state picture decoded with GDI+. A file that is missing or does not decode gives an
// object without pixels: drawing it does nothing.
class SkinBitmap {
public:
    SkinBitmap() = default;
    ~SkinBitmap();
    SkinBitmap(SkinBitmap&& o) noexcept : m_image(std::exchange(o.m_image, nullptr)) {}
    SkinBitmap& operator=(SkinBitmap&& o) noexcept;
    SkinBitmap(const SkinBitmap&) = delete;
    SkinBitmap& operator=(const SkinBitmap&) = delete;

    bool HasPixels() const { return m_image != nullptr; }
    void* Image() const { return m_image; }  // the GDI+ image

private:
    friend SkinBitmap LoadSkinBitmap(const std::wstring& fullPath);
    void* m_image = nullptr;
};

SkinBitmap LoadSkinBitmap(const std::wstring& fullPath);

// Renders a state picture unscaled at (0, 0) into a fresh surface the size of the dialog's client
// area enlarged by 100 pixels right and down. A picture without pixels leaves the surface as the
// fresh bitmap is (black). False only when GDI has no room for the surface.
bool RenderStateImage(fw::CMemoryDC& surface, const SkinBitmap& image, HWND dialog);

// The window outline: every pixel of the mask outside the transparent range (colour to colour +
// tolerance per channel, both 0x00BBGGRR). Null for a mask without any such pixel, or on failure.
fw::UniqueGdiObject CreateRegionFromMask(HBITMAP mask, COLORREF transparent, COLORREF tolerance);

}  // namespace kw::skin
