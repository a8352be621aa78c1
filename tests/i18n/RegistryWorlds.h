#pragma once
// A registry key to run the language tests against, with a way to put any value into it as the
// user or another program might have: in memory everywhere, and a real key under
// HKEY_CURRENT_USER on Windows.
#include "i18n/MemoryRegistryKey.h"
#ifdef _WIN32
#include "framework/RegKey.h"
#include "i18n/WinRegistryKey.h"

#include <windows.h>
#endif

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kw::i18n::test {

class RegistryWorld {
public:
    virtual ~RegistryWorld() = default;
    virtual RegistryKey& Key() = 0;
    virtual void Put(const std::wstring& name, RegistryType type, const std::vector<uint8_t>& data) = 0;
};

class MemoryWorld final : public RegistryWorld {
public:
    explicit MemoryWorld(bool open) : m_key(open) {}
    RegistryKey& Key() override { return m_key; }
    void Put(const std::wstring& name, RegistryType type, const std::vector<uint8_t>& data) override {
        m_key.SetValue(name, type, data);
    }

private:
    MemoryRegistryKey m_key;
};

#ifdef _WIN32
// A key of its own under HKEY_CURRENT_USER, deleted when the test ends.
class SystemWorld final : public RegistryWorld {
public:
    explicit SystemWorld(bool open) : m_name(UniqueName()), m_adapter(&m_key) {
        if (open) m_key.Create(HKEY_CURRENT_USER, m_name, KEY_READ | KEY_WRITE);
    }
    ~SystemWorld() override {
        m_key.Close();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_name.c_str());
    }
    RegistryKey& Key() override { return m_adapter; }
    void Put(const std::wstring& name, RegistryType type, const std::vector<uint8_t>& data) override {
        if (m_key)
            ::RegSetValueExW(m_key.get(), name.c_str(), 0, static_cast<DWORD>(type), data.data(),
                             static_cast<DWORD>(data.size()));
    }

private:
    static std::wstring UniqueName() {
        static int counter = 0;
        return L"Software\\Keyweave i18n test " + std::to_wstring(::GetCurrentProcessId()) + L"-" +
               std::to_wstring(++counter);
    }
    std::wstring m_name;
    fw::RegKey m_key;
    WinRegistryKey m_adapter;
};
#endif

struct RegistryKind {
    std::string name;
    std::function<std::unique_ptr<RegistryWorld>(bool open)> make;
};

inline std::vector<RegistryKind> RegistryKinds() {
    std::vector<RegistryKind> all = {
        {"Memory", [](bool open) { return std::make_unique<MemoryWorld>(open); }},
    };
#ifdef _WIN32
    all.push_back({"System", [](bool open) { return std::make_unique<SystemWorld>(open); }});
#endif
    return all;
}

}  // namespace kw::i18n::test
