#pragma once
// Overlapped reads and writes on one handle with a time-out and a cancel event. When a wait ends by
// time-out or cancel, the operation is cancelled and its completion awaited before returning, so no
// overlapped record or buffer is ever left in use by the system.
#include "framework/Handles.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace kw::device {

class OverlappedIo {
public:
    OverlappedIo();
    OverlappedIo(const OverlappedIo&) = delete;
    OverlappedIo& operator=(const OverlappedIo&) = delete;

    bool Read(HANDLE handle, std::span<uint8_t> buffer, size_t& got, uint32_t timeoutMs);
    bool Write(HANDLE handle, std::span<const uint8_t> buffer, size_t& written, uint32_t timeoutMs);
    // Releases a read or write that waits now; an operation that starts later clears it first.
    void Cancel() { ::SetEvent(m_cancel.get()); }

private:
    bool Transfer(HANDLE handle, bool isRead, void* data, size_t bytes, size_t& done, uint32_t timeoutMs);

    fw::UniqueHandle m_readDone;
    fw::UniqueHandle m_writeDone;
    fw::UniqueHandle m_cancel;
};

}  // namespace kw::device
