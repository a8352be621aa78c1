#include "i18n/TextFormat.h"

namespace kw::i18n {

std::wstring FormatText(std::wstring_view text, std::wstring_view placeholder, std::wstring_view argument) {
    if (placeholder.empty()) return std::wstring(text);
    std::wstring out;
    out.reserve(text.size() + argument.size());
    size_t from = 0;
    for (size_t at = text.find(placeholder); at != std::wstring_view::npos; at = text.find(placeholder, from)) {
        out.append(text.substr(from, at - from));
        out.append(argument);
        from = at + placeholder.size();
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace kw::i18n
