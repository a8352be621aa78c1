#pragma once
// The lock around every command exchange on the keyboard's vendor interface. It is recursive, like
// the critical section it stands for, so a caller may hold it around several exchanges.
#include <mutex>

namespace kw::device {

class DeviceLock {
public:
    void lock() { m_mutex.lock(); }
    void unlock() { m_mutex.unlock(); }
    bool try_lock() { return m_mutex.try_lock(); }

private:
    std::recursive_mutex m_mutex;
};

}  // namespace kw::device
