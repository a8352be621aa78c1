#pragma once
// kwctl's subcommands: each lives in a file of its own and has one row in the table of
// Subcommands.cpp. A subcommand gets the arguments after its name and writes to the two streams.
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace kw::kwctl {

using Arguments = std::vector<std::string>;  // UTF-8

// Exit codes of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Subcommand {
    const char* name;
    const char* summary;  // one line for the overview
    const char* usage;    // the full description, shown by "kwctl NAME --help"
    int (*run)(const Arguments& args, std::ostream& out, std::ostream& err);
};

std::span<const Subcommand> Subcommands();

// The whole program: args are the arguments after the program name.
int RunKwctl(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace kw::kwctl
