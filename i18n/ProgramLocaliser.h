#pragma once
// The running program's own outside world for the language lookups. On Windows: the system's
// profile functions, the program key opened at start-up (AppGlobals slot 17), the system's default
// language and the folder of the executable. Elsewhere: the portable INI reader, no registry key
// (so the language is detected on every lookup) and English as the system language.
#include "i18n/Localiser.h"

#include <functional>
#include <string>

namespace kw::i18n {

// The executable's drive and directory, ending in a separator; empty when it cannot be found.
std::wstring ExecutableFolder();

// Calls `use` with a localiser over the running program's files, registry key and system language.
void WithProgramLocaliser(const std::function<void(const Localiser&)>& use);

}  // namespace kw::i18n
