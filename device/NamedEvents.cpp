#include "device/NamedEvents.h"

namespace kw::device {

void NamedEvents::Create() {
    for (int n = 1; n <= kNamedEventCount; ++n)
        m_events[static_cast<size_t>(n - 1)].reset(::CreateEventW(nullptr, FALSE, FALSE, NamedEventName(n).c_str()));
}

void NamedEvents::Close() {
    for (auto& e : m_events) e.reset();
}

}  // namespace kw::device
