// Sending the language message to real windows.
#include "app/AppGlobals.h"
#include "i18n/Language.h"
#include "i18n/WinLanguageMessage.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace kw::i18n {
namespace {

struct Received {
    WPARAM wParam;
    LPARAM lParam;
};

// A message-only window that notes every language message it gets.
class ListeningWindow {
public:
    ListeningWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
    }
    ~ListeningWindow() { ::DestroyWindow(m_hwnd); }
    ListeningWindow(const ListeningWindow&) = delete;
    ListeningWindow& operator=(const ListeningWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    const std::vector<Received>& Messages() const { return m_received; }

private:
    static constexpr const wchar_t* kClass = L"KeyweaveLanguageListener";

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<ListeningWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == kLanguageMessage && self) {
            self->m_received.push_back({wParam, lParam});
            return 0;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND m_hwnd = nullptr;
    std::vector<Received> m_received;
};

TEST(LanguageMessageWinTest, CarriesLangAndAnIndexFromZeroToTwo) {
    ListeningWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    const std::vector<std::pair<int, LPARAM>> cases = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}};
    for (const auto& [index, _] : cases) EXPECT_EQ(SendLanguageMessage(window.Handle(), index), 0);

    ASSERT_EQ(window.Messages().size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(window.Messages()[i].wParam, static_cast<WPARAM>(kLanguageCode));
        EXPECT_EQ(window.Messages()[i].lParam, cases[i].second) << "index " << cases[i].first;
    }
}

TEST(LanguageMessageWinTest, TheMainWindowGetsTheCurrentLanguage) {
    SendLanguageToMainWindow();  // no main window yet: nothing to do, nothing fails

    ListeningWindow window;
    AppGlobals::Set(Slot::MainWindow, reinterpret_cast<intptr_t>(window.Handle()));
    SendLanguageToMainWindow();
    AppGlobals::Set(Slot::MainWindow, 0);

    ASSERT_EQ(window.Messages().size(), 1u);
    EXPECT_EQ(window.Messages()[0].wParam, static_cast<WPARAM>(kLanguageCode));
    EXPECT_EQ(window.Messages()[0].lParam, CurrentLanguageIndex());
}

}  // namespace
}  // namespace kw::i18n
