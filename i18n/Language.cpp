#include "i18n/Language.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

namespace kw::i18n {

int CurrentLanguageIndex() { return 0; }

std::wstring LangText(const std::wstring& key, int /*languageIndex*/) {
#ifdef _WIN32
    std::vector<wchar_t> module(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    std::wstring path(module.data(), n);
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"Lang0409.ini";
    wchar_t buf[260] = {};
    ::GetPrivateProfileStringW(L"TEXT", key.c_str(), L"#Error", buf, 260, path.c_str());
    return buf;
#else
    (void)key;
    return L"#Error";
#endif
}

}  // namespace kw::i18n
