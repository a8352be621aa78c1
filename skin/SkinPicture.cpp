#include "skin/SkinPicture.h"

#include "skin/MaskScan.h"

#include <gdiplus.h>
#include <ole2.h>
#include <olectl.h>

#include <vector>

namespace kw::skin {

namespace gp = Gdiplus::DllExports;

// ---- OLE pictures -----------------------------------------------------------------------------

SkinPicture::SkinPicture(SkinPicture&& o) noexcept
    : m_picture(std::exchange(o.m_picture, nullptr)), m_bitmap(std::exchange(o.m_bitmap, nullptr)) {}

SkinPicture& SkinPicture::operator=(SkinPicture&& o) noexcept {
    if (this != &o) {
        Reset();
        m_picture = std::exchange(o.m_picture, nullptr);
        m_bitmap = std::exchange(o.m_bitmap, nullptr);
    }
    return *this;
}

void SkinPicture::Reset() {
    if (m_picture) m_picture->Release();
    m_picture = nullptr;
    m_bitmap = nullptr;
}

SIZE SkinPicture::Size() const {
    BITMAP info{};
    if (!m_bitmap || !::GetObjectW(m_bitmap, sizeof(info), &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

SkinPicture SkinPicture::Load(const std::wstring& fullPath) {
    SkinPicture result;
    fw::UniqueFile file(::CreateFileW(fullPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!file) return result;
    LARGE_INTEGER size{};
    // Skin pictures are small; anything past 256 MiB is not one and would only exhaust memory.
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > (256ll << 20)) return result;
    const DWORD bytes = static_cast<DWORD>(size.QuadPart);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return result;
    void* data = ::GlobalLock(memory);
    DWORD read = 0;
    const bool ok = data && ::ReadFile(file.get(), data, bytes, &read, nullptr) && read == bytes;
    if (data) ::GlobalUnlock(memory);
    file.reset();
    IStream* stream = nullptr;
    // The stream frees the memory block when it is released.
    if (!ok || FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        ::GlobalFree(memory);
        return result;
    }
    IPicture* picture = nullptr;
    const HRESULT hr = ::OleLoadPicture(stream, static_cast<LONG>(bytes), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || !picture) return result;
    OLE_HANDLE handle = 0;
    SHORT type = PICTYPE_NONE;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) || !handle) {
        picture->Release();
        return result;
    }
    result.m_picture = picture;
    result.m_bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    return result;
}

SkinPicture LoadSkinPicture(const std::wstring& fullPath) {
    SkinPicture picture = SkinPicture::Load(fullPath);
    const SIZE size = picture.Size();
    if (!picture || size.cx <= 0 || size.cy <= 0) ::ExitProcess(0);
    return picture;
}

// ---- GDI+ state pictures ------------------------------------------------------------------------

SkinBitmap::~SkinBitmap() {
    if (m_image) gp::GdipDisposeImage(static_cast<Gdiplus::GpImage*>(m_image));
}

SkinBitmap& SkinBitmap::operator=(SkinBitmap&& o) noexcept {
    if (this != &o) {
        if (m_image) gp::GdipDisposeImage(static_cast<Gdiplus::GpImage*>(m_image));
        m_image = std::exchange(o.m_image, nullptr);
    }
    return *this;
}

SkinBitmap LoadSkinBitmap(const std::wstring& fullPath) {
    SkinBitmap result;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromFile(fullPath.c_str(), &bitmap) == Gdiplus::Ok && bitmap) {
        UINT width = 0;
        UINT height = 0;
        gp::GdipGetImageWidth(bitmap, &width);
        gp::GdipGetImageHeight(bitmap, &height);
        if (width > 0 && height > 0) {
            result.m_image = bitmap;
        } else {
            gp::GdipDisposeImage(bitmap);
        }
    }
    return result;
}

bool RenderStateImage(fw::CMemoryDC& surface, const SkinBitmap& image, HWND dialog) {
    RECT client{};
    ::GetClientRect(dialog, &client);
    const int width = client.right - client.left + 100;
    const int height = client.bottom - client.top + 100;
    fw::CClientDC dc(dialog);
    if (!surface.Create(dc, width, height)) return false;
    if (!image.HasPixels()) return true;
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipCreateFromHDC(surface.GetSafeHdc(), &graphics) != Gdiplus::Ok || !graphics) return true;
    auto* picture = static_cast<Gdiplus::GpImage*>(image.Image());
    UINT w = 0;
    UINT h = 0;
    gp::GdipGetImageWidth(picture, &w);
    gp::GdipGetImageHeight(picture, &h);
    // Unscaled: equal source and destination rectangles in pixels, whatever the picture's DPI.
    const INT dw = static_cast<INT>(std::min<UINT>(w, static_cast<UINT>(width)));
    const INT dh = static_cast<INT>(std::min<UINT>(h, static_cast<UINT>(height)));
    gp::GdipDrawImageRectRectI(graphics, picture, 0, 0, dw, dh, 0, 0, dw, dh, Gdiplus::UnitPixel, nullptr, nullptr,
                               nullptr);
    gp::GdipDeleteGraphics(graphics);
    return true;
}

// ---- outline --------------------------------------------------------------------------------------

fw::UniqueGdiObject CreateRegionFromMask(HBITMAP mask, COLORREF transparent, COLORREF tolerance) {
    BITMAP info{};
    if (!mask || !::GetObjectW(mask, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0) return {};
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;

    // A top-down 32-bit copy of the mask, whose pixels can be read directly.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    fw::UniqueGdiObject section(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) return {};
    {
        HDC source = ::CreateCompatibleDC(nullptr);
        HDC target = ::CreateCompatibleDC(nullptr);
        if (source && target) {
            fw::CSelectObject selectSource(source, mask);
            fw::CSelectObject selectTarget(target, section.get());
            ::BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
        }
        if (source) ::DeleteDC(source);
        if (target) ::DeleteDC(target);
    }
    ::GdiFlush();

    fw::UniqueGdiObject result;
    bool failed = false;
    const auto addBatch = [&](std::span<const SkinRect> rects) {
        if (failed) return;
        std::vector<unsigned char> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(block.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = static_cast<DWORD>(rects.size());
        header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
        const SkinRect box = BoundingBox(rects);
        header->rcBound = {box.left, box.top, box.right, box.bottom};
        auto* out = reinterpret_cast<RECT*>(block.data() + sizeof(RGNDATAHEADER));
        for (size_t i = 0; i < rects.size(); ++i) out[i] = {rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
        HRGN part = ::ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), reinterpret_cast<RGNDATA*>(block.data()));
        if (!part) {
            failed = true;
            return;
        }
        if (!result) {
            result.reset(part);
        } else {
            ::CombineRgn(static_cast<HRGN>(result.get()), static_cast<HRGN>(result.get()), part, RGN_OR);
            ::DeleteObject(part);
        }
    };
    ScanOpaqueRuns(std::span<const uint32_t>(static_cast<const uint32_t*>(bits), static_cast<size_t>(width) * height),
                   width, height, static_cast<size_t>(width), MakeTransparentRange(transparent, tolerance),
                   kMaskBatchRectangles, addBatch);
    if (failed) return {};
    return result;
}

}  // namespace kw::skin
