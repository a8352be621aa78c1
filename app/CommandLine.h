#pragma once
// The program's two switches, "/Kill" and "/Start", compared whole and without regard to case;
// every other argument is ignored.
#include <functional>
#include <string>
#include <vector>

namespace kw::app {

struct SwitchOutcome {
    bool startHidden = false;    // "/Start" seen before the process ended
    bool endProcess = false;     // "/Kill" found a running copy and told it to close
};

// Examines the arguments left to right. killRunning is called for each "/Kill" and says whether a
// running copy was found and told to close; when it was, nothing after it is examined.
SwitchOutcome ApplySwitches(const std::vector<std::wstring>& args, const std::function<bool()>& killRunning);

bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b);

}  // namespace kw::app
