#pragma once
// RAII owners of Win32 handles. Each owner closes exactly what it holds, once.
#include <windows.h>

#include <utility>

namespace kw::fw {

template <class Traits>
class UniqueResource {
public:
    using handle_type = typename Traits::handle_type;

    UniqueResource() noexcept = default;
    explicit UniqueResource(handle_type h) noexcept : m_h(h) {}
    ~UniqueResource() { reset(); }
    UniqueResource(UniqueResource&& o) noexcept : m_h(o.release()) {}
    UniqueResource& operator=(UniqueResource&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    handle_type get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return Traits::valid(m_h); }
    handle_type release() noexcept { return std::exchange(m_h, Traits::invalid()); }
    void reset(handle_type h = Traits::invalid()) noexcept {
        if (Traits::valid(m_h)) Traits::close(m_h);
        m_h = h;
    }

private:
    handle_type m_h = Traits::invalid();
};

struct KernelHandleTraits {  // handles whose "none" is null (events, mutexes, threads, processes)
    using handle_type = HANDLE;
    static HANDLE invalid() noexcept { return nullptr; }
    static bool valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits {  // handles whose "none" is INVALID_HANDLE_VALUE (files, devices, snapshots)
    using handle_type = HANDLE;
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct RegKeyTraits {
    using handle_type = HKEY;
    static HKEY invalid() noexcept { return nullptr; }
    static bool valid(HKEY h) noexcept { return h != nullptr; }
    static void close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct IconTraits {
    using handle_type = HICON;
    static HICON invalid() noexcept { return nullptr; }
    static bool valid(HICON h) noexcept { return h != nullptr; }
    static void close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct MenuTraits {
    using handle_type = HMENU;
    static HMENU invalid() noexcept { return nullptr; }
    static bool valid(HMENU h) noexcept { return h != nullptr; }
    static void close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct GdiObjectTraits {
    using handle_type = HGDIOBJ;
    static HGDIOBJ invalid() noexcept { return nullptr; }
    static bool valid(HGDIOBJ h) noexcept { return h != nullptr; }
    static void close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct ModuleTraits {
    using handle_type = HMODULE;
    static HMODULE invalid() noexcept { return nullptr; }
    static bool valid(HMODULE h) noexcept { return h != nullptr; }
    static void close(HMODULE h) noexcept { ::FreeLibrary(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueHKey = UniqueResource<RegKeyTraits>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueMenu = UniqueResource<MenuTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;

// A critical section that lives exactly as long as its owner.
class CriticalSection {
public:
    explicit CriticalSection(DWORD spinCount = 0) noexcept {
        ::InitializeCriticalSectionAndSpinCount(&m_cs, spinCount);
    }
    ~CriticalSection() { ::DeleteCriticalSection(&m_cs); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void lock() noexcept { ::EnterCriticalSection(&m_cs); }
    void unlock() noexcept { ::LeaveCriticalSection(&m_cs); }
    bool try_lock() noexcept { return ::TryEnterCriticalSection(&m_cs) != FALSE; }

private:
    CRITICAL_SECTION m_cs{};
};

}  // namespace kw::fw
