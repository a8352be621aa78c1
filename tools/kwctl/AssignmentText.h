#pragma once
// Key assignments and macros as kwctl reads and writes them on a command line or in a text file.
//
// A key is named by its English name ("A", "Left Ctrl", without regard to case) or by its id
// (0x1E or 30). An assignment is one of:
//   default | disabled | stop-macro | key:KEY | program:PATH | macro:ID | text:TEXT
//   | media:N (0-17) | function:N (0-10)
// A macro is one line per item: "name NAME", "cycles N" (1-255), then one action per line,
// "press KEY DELAY" or "release KEY DELAY", the delay in milliseconds after the action.
#include "model/KeyAssignment.h"
#include "model/KeyCatalogue.h"
#include "model/MacroRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace kw::kwctl {

inline constexpr const char* kAssignmentSyntax =
    "ASSIGNMENT is one of: default, disabled, stop-macro, key:KEY, program:PATH, macro:ID,\n"
    "text:TEXT, media:N (0-17), function:N (0-10). KEY is a key's English name (as \"kwctl keys\"\n"
    "lists it, without regard to case) or its id (0x1E or 30).\n";

// The key with that English name or id; nothing when there is none.
std::optional<model::KeyId> ParseKey(std::string_view text);
std::string KeyText(model::KeyId id);  // "A (0x01E)"

struct ParsedAssignment {
    model::KeyAssignment record;
    std::u16string text;  // the path or text of kinds 3 and 6
};
// Nothing, with the reason, when the text is not an assignment.
std::optional<ParsedAssignment> ParseAssignment(std::string_view text, std::string& error);
// The kind and value in words; the text of kinds 3 and 6 when given.
std::string AssignmentText(const model::KeyAssignment& record, std::u16string_view text = {});

std::string MacroText(const model::MacroRecord& record);
// Reads a macro; line numbers in the error.
std::optional<model::MacroRecord> ParseMacro(std::string_view text, std::string& error);

}  // namespace kw::kwctl
