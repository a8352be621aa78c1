#pragma once
// Every implementation of IniFiles the platform has: the portable one everywhere, and the system's
// profile functions on Windows. Tests run the same cases against each, to show that they agree.
#include "i18n/PortableIniFiles.h"
#ifdef _WIN32
#include "i18n/WinIniFiles.h"
#endif

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kw::i18n::test {

struct IniImplementation {
    std::string name;
    std::function<std::unique_ptr<IniFiles>()> make;
};

inline std::vector<IniImplementation> IniImplementations() {
    std::vector<IniImplementation> all = {
        {"Portable", [] { return std::make_unique<PortableIniFiles>(); }},
    };
#ifdef _WIN32
    all.push_back({"System", [] { return std::make_unique<WinIniFiles>(); }});
#endif
    return all;
}

inline void PrintTo(const IniImplementation& implementation, std::ostream* out) { *out << implementation.name; }

inline std::string ImplementationName(const testing::TestParamInfo<IniImplementation>& info) {
    return info.param.name;
}

}  // namespace kw::i18n::test
