#pragma once
// Reading and writing values of INI files by path, with the rules of the Windows profile functions
// (GetPrivateProfileStringW, WritePrivateProfileStringW). On Windows the system's functions do the
// work (WinIniFiles); PortableIniFiles follows the same rules with its own code, so that the
// program's portable parts and their tests run anywhere.
#include <string>

namespace kw::i18n {

class IniFiles {
public:
    // No caller needs more; it also keeps a buffer size within what the system functions take.
    static constexpr size_t kMaxCapacity = 65535;

    virtual ~IniFiles() = default;

    // The value of `key` in `section` of the file as a buffer of `capacity` characters receives it
    // (at most capacity - 1 characters); `fallback` when the file, the section or the key is
    // missing. A key present with an empty value gives an empty text. The file is read afresh on
    // every call.
    std::wstring ReadString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                            const std::wstring& fallback, size_t capacity) const {
        if (capacity == 0) return {};
        return Read(path, section, key, fallback, capacity < kMaxCapacity ? capacity : kMaxCapacity);
    }

    // Sets `key` to `value` in `section`, creating the file, the section or the key as needed; an
    // existing file keeps its encoding (a new file is 8-bit text, as the system creates it).
    // Refuses (false, file untouched) what would change the meaning of other lines: an empty name,
    // a line break or NUL anywhere, a key holding '=' or beginning with '['. False as well when the
    // file cannot be written.
    bool WriteString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) const;

protected:
    IniFiles() = default;
    IniFiles(const IniFiles&) = default;
    IniFiles& operator=(const IniFiles&) = default;

    virtual std::wstring Read(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                              const std::wstring& fallback, size_t capacity) const = 0;
    virtual bool Write(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                       const std::wstring& value) const = 0;
};

}  // namespace kw::i18n
