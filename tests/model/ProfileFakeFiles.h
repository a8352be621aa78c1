#pragma once
// Profile files held in memory, with the faults a disk can have: files that cannot be opened for
// update, writes that fail, a local data folder chosen by the test.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/ProfileFiles.h"

namespace kw::model::testing {

class MemoryProfileFiles : public ProfileFiles {
public:
    std::map<std::wstring, std::vector<std::uint8_t>> files;
    std::set<std::wstring> folders{L"/local"};
    std::set<std::wstring> readOnly;
    std::wstring localFolder = L"/local";
    bool failWrites = false;
    int replaceCalls = 0;

    FileRead ReadWholeFile(const std::wstring& path, std::uint64_t maxBytes, bool forUpdate) override {
        FileRead result;
        const auto it = files.find(path);
        if (it == files.end()) return result;
        result.length = it->second.size();
        if (forUpdate && readOnly.contains(path)) {
            result.status = FileReadStatus::CannotOpen;
        } else if (result.length > maxBytes) {
            result.status = FileReadStatus::TooLarge;
        } else {
            result.status = FileReadStatus::Ok;
            result.bytes = it->second;
        }
        return result;
    }
    bool ReplaceFile(const std::wstring& path, std::span<const std::uint8_t> bytes) override {
        ++replaceCalls;
        if (failWrites || readOnly.contains(path)) return false;
        files[path].assign(bytes.begin(), bytes.end());
        return true;
    }
    bool FileExists(const std::wstring& path) override { return files.contains(path); }
    bool FolderExists(const std::wstring& path) override { return folders.contains(path); }
    bool CreateFolder(const std::wstring& path) override {
        if (failWrites) return false;
        folders.insert(path);
        return true;
    }
    std::wstring LocalDataFolder() override { return localFolder; }
    wchar_t Separator() const override { return L'/'; }
};

}  // namespace kw::model::testing
