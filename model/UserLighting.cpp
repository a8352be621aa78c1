#include "model/UserLighting.h"

#include "model/KeyCatalogue.h"
#include "model/LightingDevice.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <vector>

namespace kw::model {

namespace {

const wchar_t* const kSettingsName = L"wskb.ini";
const wchar_t* const kPerKeySection = L"KEYCOLOR";
const wchar_t* const kPerKeyKey = L"DengCheck";
const wchar_t* const kCurrentSection = L"PRESENTMODE";
const wchar_t* const kCurrentKey = L"mode";
const wchar_t* const kNameSection = L"MODENAME";
const wchar_t* const kToolKey = L"tool";
const wchar_t* const kBaseKey = L"jcolor";
const wchar_t* const kFreeKey = L"color";
const wchar_t* const kZero = L"0";
const wchar_t* const kBlack = L"0,0,0";
const wchar_t* const kLedDefault = L"255,0,0,1";

constexpr size_t kNumberCapacity = 64;
constexpr size_t kNameCapacity = 260;

std::wstring ModeSection(int mode) { return L"Mode" + std::to_wstring(mode); }

std::wstring ColourText(Colour c) {
    return std::to_wstring(RedOf(c)) + L"," + std::to_wstring(GreenOf(c)) + L"," + std::to_wstring(BlueOf(c));
}

std::uint8_t ColourComponent(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

Colour ParseColour(const std::wstring& text) {
    const auto n = ParseNumberList(text, 3);
    return MakeColour(ColourComponent(n[0]), ColourComponent(n[1]), ColourComponent(n[2]));
}

bool ValidProfile(int profile) { return profile >= 0 && profile < device::kOnBoardProfiles; }
bool ValidMode(int mode) { return mode >= 0 && mode < kUserModes; }

std::array<LightButton, kLightButtons> BuildLightButtons() {
    std::array<LightButton, kLightButtons> buttons{};
    size_t i = 0;
    for (const auto& b : MainKeyButtonTable) buttons[i++] = {b.buttonId, b.led};
    for (const auto& b : GKeyButtonTable) buttons[i++] = {b.buttonId, b.led};
    buttons[i] = {kFnButton.buttonId, kFnButton.led};
    return buttons;
}

constexpr size_t kFirstGButton = MainKeyButtonTable.size();
constexpr size_t kFnButtonAt = kLightButtons - 1;

}  // namespace

const std::array<LightButton, kLightButtons>& LightButtons() {
    static const auto buttons = BuildLightButtons();
    return buttons;
}

std::array<int, 4> ParseNumberList(const std::wstring& text, int count) {
    std::array<int, 4> out{};
    count = std::clamp(count, 0, static_cast<int>(out.size()));
    size_t at = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != L',') break;
            ++at;
        }
        while (at < text.size() && std::iswspace(static_cast<wint_t>(text[at]))) ++at;
        bool negative = false;
        if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
        if (at >= text.size() || text[at] < L'0' || text[at] > L'9') break;
        long long value = 0;
        for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at)
            value = std::min<long long>(value * 10 + (text[at] - L'0'), static_cast<long long>(INT_MAX) + 1);
        value = negative ? -value : value;
        out[static_cast<size_t>(i)] = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    }
    return out;
}

UserLightingFiles::UserLightingFiles(const i18n::IniFiles& ini, std::filesystem::path folder)
    : m_ini(ini), m_folder(std::move(folder)) {}

std::wstring UserLightingFiles::SettingsFile() const { return (m_folder / kSettingsName).wstring(); }

std::wstring UserLightingFiles::ModeFile(int profile) const {
    return (m_folder / (L"UserDengColor_" + std::to_wstring(profile) + L".userd")).wstring();
}

bool UserLightingFiles::ReadPerKeyMode() const {
    return m_ini.ReadString(SettingsFile(), kPerKeySection, kPerKeyKey, kZero, kNumberCapacity) == L"1";
}

bool UserLightingFiles::WritePerKeyMode(bool on) const {
    return m_ini.WriteString(SettingsFile(), kPerKeySection, kPerKeyKey, on ? L"1" : L"0");
}

std::wstring UserLightingFiles::Read(int profile, const std::wstring& section, const std::wstring& key,
                                     const std::wstring& fallback) const {
    if (!ValidProfile(profile)) return fallback;
    return m_ini.ReadString(ModeFile(profile), section, key, fallback, kNumberCapacity);
}

bool UserLightingFiles::Write(int profile, const std::wstring& section, const std::wstring& key,
                              const std::wstring& value) const {
    return ValidProfile(profile) && m_ini.WriteString(ModeFile(profile), section, key, value);
}

int UserLightingFiles::ReadCurrentMode(int profile) const {
    const int mode = ParseNumberList(Read(profile, kCurrentSection, kCurrentKey, kZero), 1)[0];
    return ValidMode(mode) ? mode : 0;
}

bool UserLightingFiles::WriteCurrentMode(int profile, int mode) const {
    return ValidMode(mode) && Write(profile, kCurrentSection, kCurrentKey, std::to_wstring(mode));
}

std::wstring UserLightingFiles::ReadModeName(int profile, int mode) const {
    if (!ValidProfile(profile)) return kZero;
    return m_ini.ReadString(ModeFile(profile), kNameSection, std::to_wstring(mode), kZero, kNameCapacity);
}

bool UserLightingFiles::WriteModeName(int profile, int mode, const std::wstring& name) const {
    return ValidMode(mode) && Write(profile, kNameSection, std::to_wstring(mode), name);
}

UserModeSettings UserLightingFiles::LoadModeSettings(int profile, int mode) const {
    const auto section = ModeSection(mode);
    UserModeSettings s;
    s.tool = ParseNumberList(Read(profile, section, kToolKey, kZero), 1)[0] != 0 ? kToolBaseColour : kToolFreeColour;
    s.baseColour = ParseColour(Read(profile, section, kBaseKey, kBlack));
    s.freeColour = ParseColour(Read(profile, section, kFreeKey, kBlack));
    return s;
}

bool UserLightingFiles::SaveModeSettings(int profile, int mode, const UserModeSettings& s) const {
    const auto section = ModeSection(mode);
    const bool tool = Write(profile, section, kToolKey, std::to_wstring(s.tool == kToolBaseColour ? 1 : 0));
    const bool base = Write(profile, section, kBaseKey, ColourText(s.baseColour));
    const bool free = Write(profile, section, kFreeKey, ColourText(s.freeColour));
    return tool && base && free;
}

LedEntry UserLightingFiles::ReadLedEntry(int profile, int mode, int led) const {
    const auto n = ParseNumberList(Read(profile, ModeSection(mode), std::to_wstring(led), kLedDefault), 4);
    return {MakeColour(ColourComponent(n[0]), ColourComponent(n[1]), ColourComponent(n[2])), n[3] != 0};
}

bool UserLightingFiles::WriteLedEntry(int profile, int mode, int led, const LedEntry& e) const {
    return Write(profile, ModeSection(mode), std::to_wstring(led), ColourText(e.colour) + (e.lit ? L",1" : L",0"));
}

std::filesystem::path TemplateModeFile(const std::filesystem::path& programFolder) {
    return programFolder / "Skins" / "UserDengColor_3.userd";
}

int LoadUserColours(const UserLightingFiles& files, int profile, UserLightingState& state,
                    device::CommandProtocol* protocol, int slotCount) {
    if (!ValidProfile(profile)) return device::kResultWriteFailed;
    state.mode = files.ReadCurrentMode(profile);
    state.settings = files.LoadModeSettings(profile, state.mode);
    auto& lit = state.lit[static_cast<size_t>(profile)];
    const auto& buttons = LightButtons();
    // The G keys share one light that the file does not hold.
    for (size_t i = 0; i < kLightButtons; ++i) {
        if (i >= kFirstGButton && i < kFnButtonAt) continue;
        const auto entry = files.ReadLedEntry(profile, state.mode, buttons[i].led);
        state.table.Set(profile, buttons[i].led, entry.colour);
        lit[i] = entry.lit;
    }
    if (!protocol) return device::kResultSuccess;
    return WriteLedTable(*protocol, state.table, profile, slotCount);
}

int SelectUserMode(const UserLightingFiles& files, int profile, int mode, UserLightingState& state,
                   device::CommandProtocol& protocol, int slotCount) {
    if (!ValidProfile(profile) || !ValidMode(mode)) return device::kResultWriteFailed;
    state.mode = mode;
    files.WriteCurrentMode(profile, mode);
    return LoadUserColours(files, profile, state, &protocol, slotCount);
}

int ApplyBaseColour(const UserLightingFiles& files, int profile, Colour colour, UserLightingState& state,
                    device::CommandProtocol& protocol, int slotCount) {
    if (!ValidProfile(profile)) return device::kResultWriteFailed;
    if (colour == state.settings.baseColour) return device::kResultSuccess;
    state.settings.baseColour = colour;
    files.SaveModeSettings(profile, state.mode, state.settings);
    const auto& lit = state.lit[static_cast<size_t>(profile)];
    const auto& buttons = LightButtons();
    for (size_t i = 0; i < kLightButtons; ++i) {
        if (!lit[i]) continue;
        state.table.Set(profile, buttons[i].led, colour);
        files.WriteLedEntry(profile, state.mode, buttons[i].led, {colour, true});
    }
    return WriteLedTable(protocol, state.table, profile, slotCount);
}

int PaintLed(const UserLightingFiles& files, int profile, int led, const LedEntry& entry, UserLightingState& state,
             device::CommandProtocol& protocol) {
    if (!state.table.Set(profile, led, entry.colour)) return device::kResultWriteFailed;
    const auto& buttons = LightButtons();
    for (size_t i = 0; i < kLightButtons; ++i)
        if (buttons[i].led == led) state.lit[static_cast<size_t>(profile)][i] = entry.lit;
    const int sent = WriteLedColour(protocol, profile, led, entry.colour);
    files.WriteLedEntry(profile, state.mode, led, entry);
    return sent;
}

bool ResetUserModes(const std::filesystem::path& templateFile, const std::filesystem::path& modeFile) {
    std::vector<char> bytes;
    std::error_code missing;
    if (std::filesystem::exists(templateFile, missing)) {
        // A template that is there but cannot be read whole must not wipe the owner's modes.
        std::ifstream in(templateFile, std::ios::binary);
        if (!in) return false;
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) return false;
    }
    auto sibling = modeFile;
    sibling += ".new";
    {
        std::ofstream out(sibling, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(sibling, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(sibling, modeFile, ec);
    if (ec) {
        std::filesystem::remove(sibling, ec);
        return false;
    }
    return true;
}

bool PrepareUserLightingFolder(const UserLightingFiles& files, const std::filesystem::path& templateFile) {
    std::error_code ec;
    if (std::filesystem::exists(files.Folder(), ec) || ec) return false;
    if (!std::filesystem::create_directories(files.Folder(), ec)) return false;
    for (int p = 0; p < device::kOnBoardProfiles; ++p) ResetUserModes(templateFile, files.ModeFile(p));
    return true;
}

}  // namespace kw::model
