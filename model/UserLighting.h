#pragma once
// The user modes of the per-key effect: up to ten named colour layouts per on-board profile, each in
// the profile's INI file "UserDengColor_<p>.userd" in the user data folder, and the per-key mode
// switch in "wskb.ini". Every read goes to the file; nothing is cached.
#include "device/CommandProtocol.h"
#include "i18n/IniFiles.h"
#include "model/LightingRecord.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

namespace kw::model {

inline constexpr int kUserModes = 10;
inline constexpr int kToolFreeColour = 0;
inline constexpr int kToolBaseColour = 1;

struct UserModeSettings {
    int tool = kToolFreeColour;
    Colour baseColour = 0;
    Colour freeColour = 0;
    bool operator==(const UserModeSettings&) const = default;
};

struct LedEntry {
    Colour colour = MakeColour(255, 0, 0);
    bool lit = true;  // the key follows the base colour
    bool operator==(const LedEntry&) const = default;
};

// The buttons that carry a key light: the 106 key buttons, the nine G buttons, then Fn.
inline constexpr std::size_t kLightButtons = 106 + 9 + 1;
struct LightButton {
    int buttonId;
    int led;
};
const std::array<LightButton, kLightButtons>& LightButtons();

// What the panel holds of the user modes.
struct UserLightingState {
    int mode = 0;
    UserModeSettings settings;
    LedColourTable table;
    std::array<std::array<bool, kLightButtons>, device::kOnBoardProfiles> lit{};
};

// Up to `count` decimal numbers separated by commas, read as far as they go; missing numbers are 0
// and numbers too large for an int are held at its ends.
std::array<int, 4> ParseNumberList(const std::wstring& text, int count);

class UserLightingFiles {
public:
    UserLightingFiles(const i18n::IniFiles& ini, std::filesystem::path folder);

    const std::filesystem::path& Folder() const { return m_folder; }
    std::wstring SettingsFile() const;
    std::wstring ModeFile(int profile) const;

    bool ReadPerKeyMode() const;
    bool WritePerKeyMode(bool on) const;

    // A number outside 0-9 reads as 0: it has no name, no list position and no section.
    int ReadCurrentMode(int profile) const;
    bool WriteCurrentMode(int profile, int mode) const;
    std::wstring ReadModeName(int profile, int mode) const;
    bool WriteModeName(int profile, int mode, const std::wstring& name) const;
    UserModeSettings LoadModeSettings(int profile, int mode) const;
    bool SaveModeSettings(int profile, int mode, const UserModeSettings& settings) const;
    // Colour components are held to 0-255; the flag is 1 for any non-zero value.
    LedEntry ReadLedEntry(int profile, int mode, int led) const;
    bool WriteLedEntry(int profile, int mode, int led, const LedEntry& entry) const;

private:
    std::wstring Read(int profile, const std::wstring& section, const std::wstring& key, const std::wstring& fallback) const;
    bool Write(int profile, const std::wstring& section, const std::wstring& key, const std::wstring& value) const;

    const i18n::IniFiles& m_ini;
    std::filesystem::path m_folder;
};

// The template a profile's user modes are reset from: "Skins/UserDengColor_3.userd" in the program folder.
std::filesystem::path TemplateModeFile(const std::filesystem::path& programFolder);

// Loads the profile's current mode into the state (mode, settings, colours of the key buttons and
// Fn, lit flags); with a protocol, sends the profile's colour table in one group. The slot count is
// the keyboard's key count.
int LoadUserColours(const UserLightingFiles& files, int profile, UserLightingState& state,
                    device::CommandProtocol* protocol, int slotCount);
// Makes m the profile's current mode, stores it and loads it with sending.
int SelectUserMode(const UserLightingFiles& files, int profile, int mode, UserLightingState& state,
                   device::CommandProtocol& protocol, int slotCount);
// Recolours every lit key of the profile with the new base colour, saves each, and sends the table.
// Nothing happens when the colour is the current base colour.
int ApplyBaseColour(const UserLightingFiles& files, int profile, Colour colour, UserLightingState& state,
                    device::CommandProtocol& protocol, int slotCount);
// Paints one light with the colour and flag, sends it, then saves it in the current mode.
int PaintLed(const UserLightingFiles& files, int profile, int led, const LedEntry& entry, UserLightingState& state,
             device::CommandProtocol& protocol);

// Replaces the profile's file with a byte copy of the template: written to a sibling file first and
// then put in place, so a failed copy never leaves a partial file. A missing template gives an empty
// file (every read then gives its default). False when the file could not be replaced.
bool ResetUserModes(const std::filesystem::path& templateFile, const std::filesystem::path& modeFile);
// At the first start only: when the folder does not exist yet it is created and every profile's file
// copied from the template. True when it did so; an existing folder is left exactly as it is.
bool PrepareUserLightingFolder(const UserLightingFiles& files, const std::filesystem::path& templateFile);

}  // namespace kw::model
