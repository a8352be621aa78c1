#include "app/AppGlobals.h"
#include "i18n/ProgramLocaliser.h"
#include "i18n/WinIniFiles.h"
#include "i18n/WinRegistryKey.h"
#include "i18n/WinSystemLanguage.h"

#include <windows.h>

#include <vector>

namespace kw::i18n {

uint16_t WinSystemLanguage::DefaultLanguageId() const { return ::GetSystemDefaultLangID(); }

std::wstring ExecutableFolder() {
    // The module path at any length; a path that is cut short would name another folder.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            const std::wstring path(buffer.data(), n);
            const size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
        }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

void WithProgramLocaliser(const std::function<void(const Localiser&)>& use) {
    const WinIniFiles files;
    // The slot is read on every lookup: the key object exists only while the application runs.
    WinRegistryKey programKey(AppGlobals::GetPointer<fw::RegKey>(Slot::ProgramKey));
    const WinSystemLanguage system;
    use(Localiser(files, programKey, system, ExecutableFolder()));
}

}  // namespace kw::i18n
