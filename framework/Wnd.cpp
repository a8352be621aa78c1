#include "framework/Wnd.h"

#include <vector>

namespace kw::fw {

std::wstring CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) return {};
    std::vector<wchar_t> buf(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(m_hWnd, buf.data(), length + 1);
    return std::wstring(buf.data(), static_cast<size_t>(got > 0 ? got : 0));
}

}  // namespace kw::fw
