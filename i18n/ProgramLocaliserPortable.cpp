#include "i18n/MemoryRegistryKey.h"
#include "i18n/PortableIniFiles.h"
#include "i18n/ProgramLocaliser.h"
#include "i18n/WideText.h"

#include <filesystem>

namespace kw::i18n {

std::wstring ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !exe.has_parent_path()) return {};
    const std::u8string folder = exe.parent_path().u8string();
    return WideFromUtf8(std::string(folder.begin(), folder.end())) + L"/";
}

void WithProgramLocaliser(const std::function<void(const Localiser&)>& use) {
    const PortableIniFiles files;
    MemoryRegistryKey noKey(false);
    const FixedSystemLanguage english(kDefaultLanguage);
    use(Localiser(files, noKey, english, ExecutableFolder()));
}

}  // namespace kw::i18n
