#pragma once
// Lets a worker thread sleep between polls and still end at once when asked to.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kw::device {

class StopSignal {
public:
    void Request() {
        {
            std::lock_guard<std::mutex> g(m_lock);
            m_stop = true;
        }
        m_changed.notify_all();
    }
    bool Requested() const {
        std::lock_guard<std::mutex> g(m_lock);
        return m_stop;
    }
    // Sleeps for the given time; true when a stop was requested (before or during the sleep).
    bool WaitFor(std::chrono::milliseconds ms) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, ms, [this] { return m_stop; });
    }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_stop = false;
};

}  // namespace kw::device
