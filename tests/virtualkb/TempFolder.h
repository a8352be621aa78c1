#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.
#include "virtualkb/HostFiles.h"

#include <chrono>
#include <filesystem>
#include <string>

namespace kw::virtualkb::test {

class TempFolder {
public:
    TempFolder() {
        const auto stamp = std::to_string(ThisProcessId()) + "-" +
                           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        m_path = std::filesystem::temp_directory_path() / ("kw-virtualkb-" + stamp);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const char* name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

}  // namespace kw::virtualkb::test
