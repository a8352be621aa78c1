#include "device/OverlappedIo.h"

namespace kw::device {

OverlappedIo::OverlappedIo()
    : m_readDone(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_writeDone(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_cancel(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

bool OverlappedIo::Read(HANDLE handle, std::span<uint8_t> buffer, size_t& got, uint32_t timeoutMs) {
    return Transfer(handle, true, buffer.data(), buffer.size(), got, timeoutMs);
}

bool OverlappedIo::Write(HANDLE handle, std::span<const uint8_t> buffer, size_t& written, uint32_t timeoutMs) {
    return Transfer(handle, false, const_cast<uint8_t*>(buffer.data()), buffer.size(), written, timeoutMs);
}

bool OverlappedIo::Transfer(HANDLE handle, bool isRead, void* data, size_t bytes, size_t& done, uint32_t timeoutMs) {
    done = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || bytes > 0xFFFFFFFFu) return false;
    HANDLE completion = isRead ? m_readDone.get() : m_writeDone.get();
    // A cancel meant for an earlier operation must not cut this one short.
    ::ResetEvent(m_cancel.get());
    ::ResetEvent(completion);

    OVERLAPPED ov{};
    ov.hEvent = completion;
    const DWORD count = static_cast<DWORD>(bytes);
    const BOOL started = isRead ? ::ReadFile(handle, data, count, nullptr, &ov)
                                : ::WriteFile(handle, data, count, nullptr, &ov);
    if (!started && ::GetLastError() != ERROR_IO_PENDING) return false;

    const HANDLE waits[2] = {m_cancel.get(), completion};
    const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, timeoutMs);
    DWORD transferred = 0;
    if (woke == WAIT_OBJECT_0 + 1) {
        if (!::GetOverlappedResult(handle, &ov, &transferred, TRUE)) return false;
        done = transferred;
        return true;
    }
    // Time-out, cancel or a failed wait: stop the operation and wait until the system lets go of
    // the record and the buffer. It may have completed in the meantime; it still counts as not done.
    ::CancelIoEx(handle, &ov);
    ::GetOverlappedResult(handle, &ov, &transferred, TRUE);
    return false;
}

}  // namespace kw::device
