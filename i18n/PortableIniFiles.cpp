#include "i18n/PortableIniFiles.h"

#include "i18n/IniText.h"
#include "i18n/WideText.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace kw::i18n {

namespace {

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path) {
    std::ifstream in(PathFromWide(path), std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return bytes;
}

// The system cuts the default text of a lookup at its trailing blanks.
std::wstring FallbackText(std::wstring fallback, size_t capacity) {
    while (!fallback.empty() && fallback.back() == L' ') fallback.pop_back();
    if (fallback.size() > capacity - 1) fallback.resize(capacity - 1);
    return fallback;
}

}  // namespace

std::wstring PortableIniFiles::Read(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                                    const std::wstring& fallback, size_t capacity) const {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return FallbackText(fallback, capacity);
    const auto value = ini::FindValue(ini::Decode(*bytes).text, section, key);
    return value ? ini::BufferText(*value, capacity) : FallbackText(fallback, capacity);
}

bool PortableIniFiles::Write(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                             const std::wstring& value) const {
    ini::Document document;
    if (const auto bytes = ReadFileBytes(path)) {
        document = ini::Decode(*bytes);
    } else {
        // A file that is there but cannot be read must not be replaced by one holding a single key.
        std::error_code error;
        if (std::filesystem::exists(PathFromWide(path), error) || error) return false;
    }
    const std::vector<uint8_t> image =
        ini::Encode(ini::WithValue(document.text, section, key, value), document.encoding);
    std::ofstream out(PathFromWide(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace kw::i18n
