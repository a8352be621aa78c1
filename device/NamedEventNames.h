#pragma once
// Names of the events the program publishes for other processes while it runs. Other programs open
// them by these exact names, so neither the names nor their number may change.
#include <string>

namespace kw::device {

inline constexpr int kNamedEventCount = 212;

// "Keyweave_Event_Main_07" for 7, "Keyweave_Event_Main_100" for 100: at least two digits, no
// namespace prefix.
std::wstring NamedEventName(int number);

}  // namespace kw::device
