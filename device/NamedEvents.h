#pragma once
// The program's published events: created when the main window initialises, closed by the close
// routine. The program itself never waits on them or signals them.
#include "device/NamedEventNames.h"
#include "framework/Handles.h"

#include <array>

namespace kw::device {

class NamedEvents {
public:
    // Creates (or opens, when another process made one first) every event, auto-reset and not
    // signalled. A failed creation leaves an empty entry and the rest go on.
    void Create();
    // Closes every handle in order.
    void Close();
    HANDLE Handle(int number) const { return m_events[static_cast<size_t>(number - 1)].get(); }

private:
    std::array<fw::UniqueHandle, kNamedEventCount> m_events;
};

}  // namespace kw::device
