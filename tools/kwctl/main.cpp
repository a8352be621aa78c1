// kwctl: a console program, natively and on Windows, whose arguments reach the subcommands in UTF-8.
#include "tools/kwctl/Subcommand.h"

#include <iostream>

#ifdef _WIN32
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    kw::kwctl::Arguments args;
    for (int i = 1; i < argc; ++i) {
        const int n = ::WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(n > 0 ? static_cast<size_t>(n - 1) : 0, '\0');
        if (n > 1) ::WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), n, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    return kw::kwctl::RunKwctl(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    return kw::kwctl::RunKwctl(kw::kwctl::Arguments(argv + 1, argv + argc), std::cout, std::cerr);
}
#endif
