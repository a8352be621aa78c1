#pragma once
// RAII owners for device contexts: a window's client DC, a paint DC and a memory DC with its own
// bitmap selected into it.
#include "framework/Handles.h"

#include <windows.h>

namespace kw::fw {

class CClientDC {
public:
    explicit CClientDC(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~CClientDC() { if (m_dc) ::ReleaseDC(m_hwnd, m_dc); }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    HDC GetSafeHdc() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hwnd(hwnd) { m_dc = ::BeginPaint(hwnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hwnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC GetSafeHdc() const { return m_dc; }
    operator HDC() const { return m_dc; }
    const PAINTSTRUCT& Info() const { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_dc = nullptr;
};

// Keeps one object selected into a DC and puts the previous one back.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? ::SelectObject(dc, object) : nullptr) {}
    ~CSelectObject() { if (m_old) ::SelectObject(m_dc, m_old); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A memory DC with a bitmap of its own, compatible with another DC.
class CMemoryDC {
public:
    CMemoryDC() = default;
    ~CMemoryDC() { Release(); }
    CMemoryDC(CMemoryDC&& o) noexcept { *this = std::move(o); }
    CMemoryDC& operator=(CMemoryDC&& o) noexcept {
        if (this != &o) {
            Release();
            m_dc = std::exchange(o.m_dc, nullptr);
            m_bitmap = std::exchange(o.m_bitmap, nullptr);
            m_old = std::exchange(o.m_old, nullptr);
            m_width = std::exchange(o.m_width, 0);
            m_height = std::exchange(o.m_height, 0);
        }
        return *this;
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    // A fresh bitmap of the given size (at least 1 by 1), compatible with `compatible` (the screen
    // when null). False when GDI has no room for it.
    bool Create(HDC compatible, int width, int height) {
        Release();
        width = width < 1 ? 1 : width;
        height = height < 1 ? 1 : height;
        HDC screen = compatible ? nullptr : ::GetDC(nullptr);
        HDC reference = compatible ? compatible : screen;
        m_dc = ::CreateCompatibleDC(reference);
        m_bitmap = m_dc ? ::CreateCompatibleBitmap(reference, width, height) : nullptr;
        if (screen) ::ReleaseDC(nullptr, screen);
        if (!m_bitmap) {
            Release();
            return false;
        }
        m_old = ::SelectObject(m_dc, m_bitmap);
        m_width = width;
        m_height = height;
        return true;
    }
    void Release() {
        if (m_dc && m_old) ::SelectObject(m_dc, m_old);
        if (m_bitmap) ::DeleteObject(m_bitmap);
        if (m_dc) ::DeleteDC(m_dc);
        m_dc = nullptr;
        m_bitmap = nullptr;
        m_old = nullptr;
        m_width = m_height = 0;
    }

    HDC GetSafeHdc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace kw::fw
