#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.
#include "i18n/WideText.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kw::i18n::test {

class TempFolder {
public:
    TempFolder() {
        // Test programs run side by side, so the name must not repeat across processes either.
        static std::atomic<int> counter{0};
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            const auto stamp = std::to_string(random()) + "-" + std::to_string(random()) + "-" + std::to_string(++counter);
            m_path = base / ("kw-i18n-" + stamp);
            if (std::filesystem::create_directories(m_path)) break;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder as the program names folders: wide, ending in a separator.
    std::wstring Folder() const {
        const std::u8string s = m_path.u8string();
        return WideFromUtf8(std::string(s.begin(), s.end())) + static_cast<wchar_t>(std::filesystem::path::preferred_separator);
    }
    std::wstring File(std::wstring_view name) const { return Folder() + std::wstring(name); }

    static void Write(const std::wstring& path, std::string_view bytes) {
        std::ofstream out(PathFromWide(path), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string Read(const std::wstring& path) {
        std::ifstream in(PathFromWide(path), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};

}  // namespace kw::i18n::test
