#pragma once
// A device thread that sleeps between polls, ends at once when asked to, and can be waited for
// while the waiting thread answers what the worker asks of it.
#include "device/StopSignal.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace kw::device {

class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread() { Stop(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    void Start(std::function<void()> body) {
        if (m_thread.joinable()) return;
        m_finished = false;
        m_thread = std::thread([this, body = std::move(body)] {
            body();
            m_finished = true;
        });
    }
    void RequestStop() { m_stop.Request(); }
    bool StopRequested() const { return m_stop.Requested(); }
    // Sleeps; true when a stop was requested.
    bool WaitFor(std::chrono::milliseconds ms) { return m_stop.WaitFor(ms); }
    bool Finished() const { return m_finished.load(); }
    // Asks the thread to end and waits for it; pump runs while waiting.
    void Stop(const std::function<void()>& pump = {}) {
        RequestStop();
        if (!m_thread.joinable()) return;
        while (!m_finished.load()) {
            if (pump) pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        m_thread.join();
    }

private:
    StopSignal m_stop;
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

}  // namespace kw::device
