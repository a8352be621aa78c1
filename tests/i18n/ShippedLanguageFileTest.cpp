// The English language file that ships beside Keyweave.exe holds every text the program asks for,
// read the way the program reads it: through the lookups, from beside the executable (the build
// copies the file beside this test program).
#include "i18n/Language.h"
#include "i18n/PortableIniFiles.h"
#include "i18n/ProgramLocaliser.h"
#include "i18n/TextFormat.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw::i18n {
namespace {

const std::vector<std::wstring>& TextKeys() {
    static const std::vector<std::wstring> keys = [] {
        std::vector<std::wstring> k = {
            // Main window, button menu, tray, about box
            L"MAIN_CAPTION", L"MAIN_HELP_PROMPT", L"MAIN_MINIMIZE_PROMPT", L"MAIN_MENU_PROMPT", L"MAIN_CLOSE_PROMPT",
            L"MAIN_PROMPT_DEFAULT", L"MAIN_PROMPT_INPORT", L"MAIN_SWITCH_FUNCTION_TEXT", L"MAIN_SWITCH_COLOR_TEXT",
            L"MAIN_DEFAULT_MATRIX_PROMPT", L"MAIN_NO_DEVICE_PROMPT", L"PROFILE_1", L"PROFILE_2", L"PROFILE_3",
            L"PROFILE_MACRO", L"PROFILE_DEFAULT", L"PROFILE_OK", L"PROFILE_CANCLE", L"PROFILE_APPLY", L"MENU_1",
            L"MENU_2", L"MENU_3", L"MENU_4", L"KEYBOARD_TRAY_DESC", L"MENU_11", L"MENU_22", L"MENU_33",
            L"LANG_ABOUT_TITLE", L"GUANYU_JIESHAO", L"GUANYU_BANQUAN", L"LANG_ABOUT_OK",
            // Profiles
            L"DEFAULT_PROFILE_NAME", L"PROFILE_TIP", L"PROFILE_NEW", L"PROFILE_SELECT_PROMPT",
            L"PROFILE_SEELCT_PROMPT2", L"PROFILE_FORMAT_ERROR", L"PROFILE_PATH_TOO_LONG",
            // Key prompts and the key settings window
            L"KEY_PROMPT_SET", L"KEY_PROMPT_SINGLE", L"KEY_PROMPT_MACRO", L"KEY_PROMPT_MEDIA", L"KEY_PROMPT_FUNCTION",
            L"COMPOSITE_PROMPT_OSK", L"SINGLE_KEY", L"MULTI_MEDIA", L"FUNCTION_KEY", L"MACRO_SETTING",
            L"SINGLE_STATIC", L"MACRO_NAME_SETTING", L"KEY_SETTING_TISHI", L"MACRO_EDIT_TISHI", L"MEDIA_EDIT_TISHI",
            L"FUNCTION_TISHI", L"MACRO_CYCLES", L"RECORD_DELAY", L"IDS_MACRO_KB_KEY", L"IDS_MACRO_MOU_KEY", L"A_TOP",
            L"A_UP", L"A_DOWN", L"A_BOTTOM", L"A_RECORD", L"A_DELETE", L"A_CLEAR", L"MACRO_OK", L"MACRO_CANCLE",
            // Macros and sending
            L"MACRO_NEW_PREFIX", L"MACRO_ERR_MAX", L"MACRO_ACTION_RECORD", L"MACRO_ACTION_STOP_RECORD",
            L"MACRO_ACTION_RECORD_DELAY", L"MACRO_ACTION_ERR_MODIFY", L"MACRO_ACTION_ERR_DELAY_MAX",
            L"MACRO_ACTION_CLEAR_CONFIRM", L"MACRO_DELETE_CONFIRM_OF_KEYS", L"MACRO_KEYS_TISHI",
            L"MACRO_ACTION_TISHI", L"MACRO_DELAY_MS", L"EXTRA_MACRO_TOO_LONG", L"EXTRA_PROFILE_SPACE_TIGHT",
            // The name of every key of the key catalogue
            L"UNKNOWN_KEY", L"IDS_KEYBOARD_ESC", L"IDS_KEYBOARD_1", L"IDS_KEYBOARD_2", L"IDS_KEYBOARD_3",
            L"IDS_KEYBOARD_4", L"IDS_KEYBOARD_5", L"IDS_KEYBOARD_6", L"IDS_KEYBOARD_7", L"IDS_KEYBOARD_8",
            L"IDS_KEYBOARD_9", L"IDS_KEYBOARD_0", L"IDS_KEYBOARD_MINUS", L"IDS_KEYBOARD_EQU", L"IDS_KEYBOARD_BS",
            L"IDS_KEYBOARD_TAB", L"IDS_KEYBOARD_Q", L"IDS_KEYBOARD_W", L"IDS_KEYBOARD_E", L"IDS_KEYBOARD_R",
            L"IDS_KEYBOARD_T", L"IDS_KEYBOARD_Y", L"IDS_KEYBOARD_U", L"IDS_KEYBOARD_I", L"IDS_KEYBOARD_O",
            L"IDS_KEYBOARD_P", L"IDS_KEYBOARD_SB1", L"IDS_KEYBOARD_SB2", L"IDS_KEYBOARD_ENTER", L"IDS_KEYBOARD_LCTRL",
            L"IDS_KEYBOARD_A", L"IDS_KEYBOARD_S", L"IDS_KEYBOARD_D", L"IDS_KEYBOARD_F", L"IDS_KEYBOARD_G",
            L"IDS_KEYBOARD_H", L"IDS_KEYBOARD_J", L"IDS_KEYBOARD_K", L"IDS_KEYBOARD_L", L"IDS_KEYBOARD_SEM",
            L"IDS_KEYBOARD_QUOT", L"IDS_KEYBOARD_AID1", L"IDS_KEYBOARD_LSHIFT", L"IDS_KEYBOARD_AV",
            L"IDS_KEYBOARD_Z", L"IDS_KEYBOARD_X", L"IDS_KEYBOARD_C", L"IDS_KEYBOARD_V", L"IDS_KEYBOARD_B",
            L"IDS_KEYBOARD_N", L"IDS_KEYBOARD_M", L"IDS_KEYBOARD_COMMA", L"IDS_KEYBOARD_PER", L"IDS_KEYBOARD_VIR",
            L"IDS_KEYBOARD_RSHIFT", L"IDS_KEYBOARD_S_AST", L"IDS_KEYBOARD_LALT", L"IDS_KEYBOARD_SPACE",
            L"IDS_KEYBOARD_CAPS", L"IDS_KEYBOARD_F1", L"IDS_KEYBOARD_F2", L"IDS_KEYBOARD_F3", L"IDS_KEYBOARD_F4",
            L"IDS_KEYBOARD_F5", L"IDS_KEYBOARD_F6", L"IDS_KEYBOARD_F7", L"IDS_KEYBOARD_F8", L"IDS_KEYBOARD_F9",
            L"IDS_KEYBOARD_F10", L"IDS_KEYBOARD_PAUSE", L"IDS_KEYBOARD_SCROLL", L"IDS_KEYBOARD_S_7",
            L"IDS_KEYBOARD_S_8", L"IDS_KEYBOARD_S_9", L"IDS_KEYBOARD_S_MINUS", L"IDS_KEYBOARD_S_4",
            L"IDS_KEYBOARD_S_5", L"IDS_KEYBOARD_S_6", L"IDS_KEYBOARD_S_PLUS", L"IDS_KEYBOARD_S_1",
            L"IDS_KEYBOARD_S_2", L"IDS_KEYBOARD_S_3", L"IDS_KEYBOARD_S_0", L"IDS_KEYBOARD_S_DEL",
            L"IDS_KEYBOARD_SYSREQ", L"IDS_KEYBOARD_K45", L"IDS_KEYBOARD_F11", L"IDS_KEYBOARD_F12",
            L"IDS_KEYBOARD_ROMA", L"IDS_KEYBOARD_KL", L"IDS_KEYBOARD_KR", L"IDS_KEYBOARD_K56", L"IDS_KEYBOARD_CHG",
            L"IDS_KEYBOARD_N_CHG", L"IDS_KEYBOARD_K14", L"IDS_KEYBOARD_K107", L"MEDIA_PREV_TRACK_4",
            L"MEDIA_Next_TRACK_5", L"IDS_KEYBOARD_S_ENTER", L"IDS_KEYBOARD_RCTRL", L"MEDIA_MUTE_8", L"MEDIA_CALC_17",
            L"MEDIA_PALY_PAUSE_2", L"MEDIA_STOP_PALY_3", L"MEDIA_V_LOW_6", L"MEDIA_V_ADD_7", L"MEDIA_WWW_HOME_9",
            L"IDS_KEYBOARD_S_VIR", L"IDS_KEYBOARD_PRINT", L"IDS_KEYBOARD_RALT", L"IDS_KEYBOARD_NUM",
            L"IDS_KEYBOARD_BREAK", L"IDS_KEYBOARD_HOME", L"IDS_KEYBOARD_UP", L"IDS_KEYBOARD_PAGE_UP",
            L"IDS_KEYBOARD_LEFT", L"IDS_KEYBOARD_RIGHT", L"IDS_KEYBOARD_END", L"IDS_KEYBOARD_DOWN",
            L"IDS_KEYBOARD_PAGE_DOWN", L"IDS_KEYBOARD_INSERT", L"IDS_KEYBOARD_DELETE", L"IDS_KEYBOARD_LWIN",
            L"IDS_KEYBOARD_RWIN", L"IDS_KEYBOARD_APP", L"IDS_KEYBOARD_POWER", L"IDS_KEYBOARD_SLEEP",
            L"IDS_KEYBOARD_ROLL_UP", L"IDS_KEYBOARD_ROLL_DOWN", L"IDS_KEYBOARD_WAKE", L"MEDIA_WWW_SEARCH_15",
            L"MEDIA_WWW_FAVORITE_14", L"MEDIA_WWW_REFRESH_10", L"MEDIA_WWW_STOP_11", L"MEDIA_WWW_FORWARD_13",
            L"MEDIA_WWW_BACK_12", L"MEDIA_MY_PC_16", L"MEDIA_MAIL_18", L"MEDIA_PALYER_1",
            L"IDS_KEYBOARD_MOU_PANLEFT", L"IDS_KEYBOARD_MOU_PANRIGHT", L"IDS_KEYBOARD_MOU_DBCLICK",
            L"IDS_KEYBOARD_MOU_LEFT", L"IDS_KEYBOARD_MOU_RIGHT", L"IDS_KEYBOARD_MOU_MIDDLE",
            L"IDS_KEYBOARD_FUNC_ZOOMOUT", L"IDS_KEYBOARD_FUNC_ZOOMIN", L"IDS_KEYBOARD_FUNC_COPY",
            L"IDS_KEYBOARD_FUNC_CUT", L"IDS_KEYBOARD_FUNC_PASTE", L"IDS_KEYBOARD_FUNC_MINI",
            L"IDS_KEYBOARD_FUNC_MAXI", L"IDS_KEYBOARD_FUNC_WORD", L"IDS_KEYBOARD_FUNC_EXCEL",
            L"IDS_KEYBOARD_FUNC_POWERPOINT", L"IDS_KEYBOARD_FUNC_CALENDAR",
        };
        for (int n = 1; n <= 11; ++n) k.push_back(L"FUNC_KEY_DESC" + std::to_wstring(n));
        return k;
    }();
    return keys;
}

const std::vector<std::wstring> kLightKeys = {L"Usb", L"Deng", L"Light", L"FX", L"Speed", L"Color", L"JColor", L"DC", L"Tool"};
// Every effect the lighting panel knows; 19 is no effect (the panel hides even the effect list for it).
const std::vector<int> kEffectCodes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20};

// Texts that take an argument, with the one placeholder their callers replace.
const std::vector<std::pair<std::wstring, std::wstring_view>> kTextsWithArgument = {
    {L"PROFILE_FORMAT_ERROR", kNamePlaceholder},
    {L"MACRO_ERR_MAX", kNumberPlaceholder},
    {L"MACRO_ACTION_ERR_DELAY_MAX", kNumberPlaceholder},
    {L"UNKNOWN_KEY", kNumberPlaceholder},
};

size_t Count(const std::wstring& text, std::wstring_view what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

TEST(ShippedLanguageFileTest, HoldsEveryTextTheProgramAsksFor) {
    const int index = CurrentLanguageIndex();
    ASSERT_EQ(index, 0);
    for (const std::wstring& key : TextKeys()) {
        const std::wstring text = LangText(key, index);
        EXPECT_NE(text, L"#Error") << "TEXT " << key;
        EXPECT_FALSE(text.empty()) << "TEXT " << key;
    }
    for (const std::wstring& key : kLightKeys) EXPECT_NE(LightText(key, index), L"#Error") << "LIGHT " << key;
    for (const int code : kEffectCodes) EXPECT_NE(ModeText(code, index), L"#Error") << "MODE " << code;
}

TEST(ShippedLanguageFileTest, ArgumentsOnlyWhereCallersReplaceThem) {
    for (const std::wstring& key : TextKeys()) {
        const std::wstring text = LangText(key, 0);
        std::wstring_view expected;
        for (const auto& [withArgument, placeholder] : kTextsWithArgument)
            if (withArgument == key) expected = placeholder;
        if (expected.empty()) {
            EXPECT_EQ(text.find(L'%'), std::wstring::npos) << key;
        } else {
            EXPECT_EQ(Count(text, expected), 1u) << key;
            EXPECT_EQ(Count(text, L"%"), 1u) << key;
        }
    }
}

TEST(ShippedLanguageFileTest, BlanksThatJoinTextsSurviveReading) {
    const std::wstring prompt = L"A" + LangText(L"KEY_PROMPT_SET", 0) + LangText(L"KEY_PROMPT_SINGLE", 0) + L"B)";
    EXPECT_EQ(prompt, L"A - changed to key (B)");
    EXPECT_EQ(LangText(L"MACRO_NEW_PREFIX", 0) + L"1", L"Macro 1");
    EXPECT_EQ(LangText(L"PROFILE_TIP", 0) + L"$Profile0", L"Active profile: $Profile0");
}

TEST(ShippedLanguageFileTest, IsPlainAsciiWithTextsThatFit) {
    const std::wstring path = ExecutableFolder() + L"Lang0409.ini";
    const std::string bytes = test::TempFolder::Read(path);
    ASSERT_FALSE(bytes.empty());
    for (size_t i = 0; i < bytes.size(); ++i)
        ASSERT_LT(static_cast<unsigned char>(bytes[i]), 0x80u) << "byte " << i << " is not ASCII";

    // Read with room to spare: nothing may be cut at the 259 characters a lookup keeps.
    const PortableIniFiles files;
    for (const std::wstring& key : TextKeys())
        EXPECT_LE(files.ReadString(path, L"TEXT", key, L"", 4096).size(), 259u) << key;
}

}  // namespace
}  // namespace kw::i18n
