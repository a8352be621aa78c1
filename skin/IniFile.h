#pragma once
// One layout file, read with the system's profile-string functions (section and key names are not
// case-sensitive). A file that does not exist reads as empty.
#include "skin/Placement.h"

#include <string>

namespace kw::skin {

class CIniFile {
public:
    // Values are read into a buffer of this many characters (one is the terminator).
    static constexpr size_t kValueBufferLength = 2048;
    static constexpr size_t kPathLength = 260;

    CIniFile() = default;
    virtual ~CIniFile() = default;

    // Keeps at most kPathLength - 1 characters of the path.
    void SetPath(const std::wstring& path);
    const std::wstring& Path() const { return m_path; }

    // The value, or the default when the key is missing; empty when the result is empty.
    std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& defaultValue) const;
    bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) const;

private:
    std::wstring m_path;
};

// Reads one placement value ("x,y,w,h", default "1,1,1,1,x") from a layout file, the way every
// layout operation does: into a buffer of kPlacementBufferLength characters.
Placement ReadPlacement(const std::wstring& iniPath, const std::wstring& section, const std::wstring& key);

}  // namespace kw::skin
