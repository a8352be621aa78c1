#include "app/CommandLine.h"

#include <cwctype>

namespace kw::app {

bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
    }
    return true;
}

SwitchOutcome ApplySwitches(const std::vector<std::wstring>& args, const std::function<bool()>& killRunning) {
    SwitchOutcome out;
    for (const auto& arg : args) {
        if (EqualsIgnoringCase(arg, L"/Kill")) {
            if (killRunning && killRunning()) {
                out.endProcess = true;
                return out;
            }
        } else if (EqualsIgnoringCase(arg, L"/Start")) {
            out.startHidden = true;
        }
    }
    return out;
}

}  // namespace kw::app
