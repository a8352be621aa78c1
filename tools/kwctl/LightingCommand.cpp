#include "tools/kwctl/LightingCommand.h"

#include "device/CommandProtocol.h"
#include "i18n/Language.h"
#include "i18n/PortableIniFiles.h"
#include "i18n/ProgramLocaliser.h"
#include "i18n/WideText.h"
#include "model/LightingControls.h"
#include "model/LightingDevice.h"
#include "model/UserLighting.h"
#include "virtualkb/HostFiles.h"
#include "tools/kwctl/KeyboardSession.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace kw::kwctl {

namespace {

using model::Colour;
using model::ControlInput;
using model::LightingState;
namespace lc = model::lighting_control;

struct Options {
    Arguments words;  // the action and its values
    std::optional<int> profile;
    std::string folder;
};

std::optional<int> Number(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
    return value;
}

std::optional<Colour> ParseColour(std::string_view text) {
    std::array<int, 3> parts{};
    for (size_t i = 0; i < parts.size(); ++i) {
        const size_t comma = i + 1 < parts.size() ? text.find(',') : text.size();
        if (comma == std::string_view::npos) return std::nullopt;
        const auto n = Number(text.substr(0, comma), 0, 255);
        if (!n) return std::nullopt;
        parts[i] = *n;
        text.remove_prefix(std::min(comma + 1, text.size()));
    }
    return model::MakeColour(static_cast<uint8_t>(parts[0]), static_cast<uint8_t>(parts[1]), static_cast<uint8_t>(parts[2]));
}

std::optional<bool> OnOff(std::string_view text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

std::string ColourText(Colour c) {
    return std::to_string(model::RedOf(c)) + "," + std::to_string(model::GreenOf(c)) + "," + std::to_string(model::BlueOf(c));
}

using Link = KeyboardSession;

int ProfileOf(const Options& o, const Link& link) {
    if (o.profile) return *o.profile;
    const int active = link.ActiveProfile();
    return active >= 0 && active < device::kOnBoardProfiles ? active : 0;
}

// Reads the records and shows the profile's in the state.
bool Read(Link& link, int profile, LightingState& state, model::EffectSlots& effects, std::ostream& err) {
    model::LightingRecords records{};
    state.profile = profile;
    if (model::ReadLighting(link.Commands(), records, effects, state) != device::kResultSuccess) {
        err << "kwctl lighting: the keyboard did not answer the lighting read\n";
        return false;
    }
    return true;
}

std::string EffectName(int code) {
    const std::wstring name = i18n::ModeText(code, i18n::CurrentLanguageIndex());
    return name == L"#Error" ? std::string() : " (" + i18n::Utf8FromWide(name) + ")";
}

int Show(Link& link, const Options& o, int profile, std::ostream& out, std::ostream& err) {
    LightingState s;
    model::EffectSlots effects{};
    if (!Read(link, profile, s, effects, err)) return kExitFailed;
    static constexpr const char* kPalettes[]{"red", "yellow", "green", "blue"};
    out << "profile " << profile << "\n";
    out << "effect: " << int{s.effect} << EffectName(s.effect) << "\n";
    out << "brightness: " << int{s.brightness} << "\n";
    out << "speed: " << int{s.speed} << "\n";
    out << "direction: " << (s.direction == model::kDirectionForward ? "forward" : "backward") << "\n";
    out << "colour: " << ColourText(s.colour) << ", colourful " << (s.colourful ? "on" : "off") << "\n";
    if (s.effect == model::kEffectWithSecondFlag) out << "effect 7 flag: " << (s.effect7Flag ? "on" : "off") << "\n";
    out << "second colour: " << ColourText(s.secondColour) << ", colourful " << (s.secondColourful ? "on" : "off") << "\n";
    out << "third colour: " << ColourText(s.thirdColour) << ", colourful " << (s.thirdColourful ? "on" : "off") << "\n";
    out << "palette: " << int{s.palette} << " (" << kPalettes[s.palette] << ")\n";
    out << "trigger: " << (s.trigger == 0 ? "single" : "grid") << "\n";
    out << "report rate: " << int{s.reportRate} << "\n";
    if (!o.folder.empty()) {
        i18n::PortableIniFiles ini;
        const model::UserLightingFiles files(ini, virtualkb::HostPath(o.folder));
        out << "per-key mode: " << (files.ReadPerKeyMode() ? "on" : "off") << "\n";
    }
    out << "effects:";
    for (const int code : model::EffectCodes(effects)) out << " " << code;
    out << "\n";
    return kExitOk;
}

// One row per field the panel can change: how its value becomes the panel's control input.
struct FieldRow {
    const char* name;
    std::function<std::optional<ControlInput>(std::string_view value, const LightingState& state)> input;
};

std::optional<ControlInput> Toggle(std::string_view value, bool current, int control) {
    const auto on = OnOff(value);
    if (!on) return std::nullopt;
    return ControlInput{*on == current ? 0 : control};  // 0: already so, nothing to do
}

std::optional<ControlInput> ColourOf(std::string_view value, int control) {
    const auto c = ParseColour(value);
    if (!c) return std::nullopt;
    return ControlInput{control, 0, *c};
}

std::optional<ControlInput> Indexed(std::string_view value, int first, int count) {
    const auto n = Number(value, 0, count - 1);
    if (!n) return std::nullopt;
    return ControlInput{first + *n};
}

const std::array<FieldRow, 14> kFields{{
    {"effect", [](std::string_view v, const LightingState&) -> std::optional<ControlInput> {
         const auto n = Number(v, 1, 255);
         if (!n) return std::nullopt;
         return ControlInput{lc::kEffectCombo, *n};
     }},
    {"brightness", [](std::string_view v, const LightingState&) -> std::optional<ControlInput> {
         const auto n = Number(v, 0, 5);
         if (!n) return std::nullopt;
         return ControlInput{lc::kBrightnessSlider, *n};
     }},
    {"speed", [](std::string_view v, const LightingState&) -> std::optional<ControlInput> {
         const auto n = Number(v, 0, 5);
         if (!n) return std::nullopt;
         return ControlInput{lc::kSpeedSlider, model::kMaxSpeed - *n};
     }},
    {"direction", [](std::string_view v, const LightingState&) -> std::optional<ControlInput> {
         if (v == "forward") return ControlInput{lc::kDirectionForward};
         if (v == "backward") return ControlInput{lc::kDirectionBackward};
         return std::nullopt;
     }},
    {"colour", [](std::string_view v, const LightingState&) { return ColourOf(v, lc::kColourButton1); }},
    {"colour2", [](std::string_view v, const LightingState&) { return ColourOf(v, lc::kSecondColourButton); }},
    {"colour3", [](std::string_view v, const LightingState&) { return ColourOf(v, lc::kThirdColourButton); }},
    {"colourful", [](std::string_view v, const LightingState& s) { return Toggle(v, s.colourful, lc::kColourfulToggle); }},
    {"colourful2", [](std::string_view v, const LightingState& s) { return Toggle(v, s.secondColourful, lc::kSecondColourToggle); }},
    {"colourful3", [](std::string_view v, const LightingState& s) { return Toggle(v, s.thirdColourful, lc::kThirdColourToggle); }},
    {"rate", [](std::string_view v, const LightingState&) -> std::optional<ControlInput> {
         static constexpr int kRates[]{lc::kReportRate0, lc::kReportRate1, lc::kReportRate2, lc::kReportRate3};
         const auto n = Number(v, 0, 3);
         if (!n) return std::nullopt;
         return ControlInput{kRates[*n]};
     }},
    {"palette", [](std::string_view v, const LightingState&) { return Indexed(v, lc::kPalette0, 4); }},
    {"trigger", [](std::string_view v, const LightingState&) -> std::optional<ControlInput> {
         if (v == "single") return ControlInput{lc::kTriggerSingle};
         if (v == "grid") return ControlInput{lc::kTriggerGrid};
         return std::nullopt;
     }},
    {"preset", [](std::string_view v, const LightingState&) -> std::optional<ControlInput> {
         const auto n = Number(v, 1, 8);
         if (!n) return std::nullopt;
         return ControlInput{lc::kFirstPreset + *n - 1};
     }},
}};

int Set(Link& link, const Options& o, int profile, std::ostream& out, std::ostream& err) {
    if (o.words.size() != 3) {
        err << kLightingUsage;
        return kExitUsage;
    }
    const auto* row = std::find_if(kFields.begin(), kFields.end(), [&](const FieldRow& r) { return o.words[1] == r.name; });
    if (row == kFields.end()) {
        err << "kwctl lighting set: unknown field \"" << o.words[1] << "\"\n";
        return kExitUsage;
    }
    LightingState state;
    model::EffectSlots effects{};
    if (!Read(link, profile, state, effects, err)) return kExitFailed;
    const auto input = row->input(o.words[2], state);
    if (!input) {
        err << "kwctl lighting set: \"" << o.words[2] << "\" is not a value of " << row->name << "\n";
        return kExitUsage;
    }
    // The panel offers only the keyboard's own effects.
    if (input->control == lc::kEffectCombo && !model::OffersEffect(effects, static_cast<uint8_t>(input->value))) {
        err << "kwctl lighting set: the keyboard offers no effect " << input->value << "\n";
        return kExitUsage;
    }
    if (input->control == 0) {
        out << row->name << " is " << o.words[2] << " already\n";
        return kExitOk;
    }
    if (model::ApplyLightingControl(link.Commands(), state, *input) != device::kResultSuccess) {
        err << "kwctl lighting set: the keyboard did not take the change\n";
        return kExitFailed;
    }
    out << "profile " << profile << ": " << row->name << " " << o.words[2] << "\n";
    return kExitOk;
}

int Reset(Link& link, const Options&, int profile, std::ostream& out, std::ostream& err) {
    if (model::ResetLighting(link.Commands(), profile) != device::kResultSuccess) {
        err << "kwctl lighting reset: the keyboard did not take the change\n";
        return kExitFailed;
    }
    out << "profile " << profile << ": default lighting\n";
    return kExitOk;
}

std::optional<int> LedOf(std::string_view text) {
    if (text == "fn") return model::kFnButton.led;
    if (text == "g") return model::kGKeyLed;
    return Number(text, 0, model::kLedSlots - 1);
}

int Key(Link& link, const Options& o, int profile, std::ostream& out, std::ostream& err) {
    const auto led = o.words.size() == 3 ? LedOf(o.words[1]) : std::nullopt;
    const auto colour = o.words.size() == 3 ? ParseColour(o.words[2]) : std::nullopt;
    if (!led || !colour) {
        err << "kwctl lighting key: LED is 0-" << model::kLedSlots - 1 << ", fn or g, and the colour R,G,B with each 0-255\n";
        return kExitUsage;
    }
    int result = device::kResultSuccess;
    if (o.folder.empty()) {
        result = model::WriteLedColour(link.Commands(), profile, *led, *colour);
    } else {
        i18n::PortableIniFiles ini;
        const model::UserLightingFiles files(ini, virtualkb::HostPath(o.folder));
        model::UserLightingState user;
        model::LoadUserColours(files, profile, user, nullptr, link.KeyCount());
        result = model::PaintLed(files, profile, *led, {*colour, false}, user, link.Commands());
    }
    if (result != device::kResultSuccess) {
        err << "kwctl lighting key: the keyboard did not take the colour\n";
        return kExitFailed;
    }
    out << "profile " << profile << ": LED " << *led << " " << ColourText(*colour) << "\n";
    return kExitOk;
}

int ListModes(const model::UserLightingFiles& files, int profile, std::ostream& out) {
    const int current = files.ReadCurrentMode(profile);
    const auto settings = files.LoadModeSettings(profile, current);
    out << "profile " << profile << ", per-key mode " << (files.ReadPerKeyMode() ? "on" : "off") << "\n";
    for (int m = 0; m < model::kUserModes; ++m)
        out << (m == current ? "* " : "  ") << m << " " << i18n::Utf8FromWide(files.ReadModeName(profile, m)) << "\n";
    out << "tool: " << (settings.tool == model::kToolBaseColour ? "base colour" : "free colour")
        << ", base colour " << ColourText(settings.baseColour) << ", free colour " << ColourText(settings.freeColour) << "\n";
    return kExitOk;
}

int Mode(Link& link, const Options& o, int profile, std::ostream& out, std::ostream& err) {
    if (o.folder.empty()) {
        err << "kwctl lighting mode: name the user data folder with --folder DIR\n";
        return kExitUsage;
    }
    i18n::PortableIniFiles ini;
    const model::UserLightingFiles files(ini, virtualkb::HostPath(o.folder));
    const auto& w = o.words;
    if (w.size() == 1) return ListModes(files, profile, out);
    const std::string& what = w[1];
    const auto failed = [&](int result) {
        if (result == device::kResultSuccess) return kExitOk;
        err << "kwctl lighting mode: the keyboard did not take the colours\n";
        return kExitFailed;
    };
    model::UserLightingState user;
    if (what == "select" && w.size() == 3) {
        const auto m = Number(w[2], 0, model::kUserModes - 1);
        if (!m) {
            err << "kwctl lighting mode select: M is 0-9\n";
            return kExitUsage;
        }
        return failed(model::SelectUserMode(files, profile, *m, user, link.Commands(), link.KeyCount()));
    }
    if (what == "name" && w.size() == 4) {
        const auto m = Number(w[2], 0, model::kUserModes - 1);
        if (!m || !files.WriteModeName(profile, *m, i18n::WideFromUtf8(w[3]))) {
            err << "kwctl lighting mode name: M is 0-9 and the name one line\n";
            return kExitUsage;
        }
        return kExitOk;
    }
    if (what == "base" && w.size() == 3) {
        const auto c = ParseColour(w[2]);
        if (!c) {
            err << "kwctl lighting mode base: the colour is R,G,B with each 0-255\n";
            return kExitUsage;
        }
        model::LoadUserColours(files, profile, user, nullptr, link.KeyCount());
        return failed(model::ApplyBaseColour(files, profile, *c, user, link.Commands(), link.KeyCount()));
    }
    if (what == "reset" && w.size() <= 3) {
        const auto templateFile = w.size() == 3 ? virtualkb::HostPath(w[2])
                                                : model::TemplateModeFile(i18n::PathFromWide(i18n::ExecutableFolder()));
        if (!model::ResetUserModes(templateFile, files.ModeFile(profile))) {
            err << "kwctl lighting mode reset: cannot replace " << i18n::Utf8FromWide(files.ModeFile(profile)) << "\n";
            return kExitFailed;
        }
        return failed(model::LoadUserColours(files, profile, user, &link.Commands(), link.KeyCount()));
    }
    if (what == "perkey" && w.size() == 3 && OnOff(w[2])) {
        if (!files.WritePerKeyMode(*OnOff(w[2]))) {
            err << "kwctl lighting mode perkey: cannot write " << i18n::Utf8FromWide(files.SettingsFile()) << "\n";
            return kExitFailed;
        }
        return kExitOk;
    }
    err << kLightingUsage;
    return kExitUsage;
}

struct Action {
    const char* name;
    int (*run)(Link& link, const Options& o, int profile, std::ostream& out, std::ostream& err);
};

constexpr std::array<Action, 5> kActions{{
    {"show", &Show},
    {"set", &Set},
    {"reset", &Reset},
    {"key", &Key},
    {"mode", &Mode},
}};

std::optional<Options> ParseOptions(const Arguments& args, std::ostream& err) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--profile" || a == "--folder";
        if (!takesValue) {
            o.words.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) {
            err << "kwctl lighting: " << a << " needs a value\n";
            return std::nullopt;
        }
        const std::string& v = args[++i];
        if (a == "--profile") {
            o.profile = Number(v, 0, device::kOnBoardProfiles - 1);
            if (!o.profile) {
                err << "kwctl lighting: the profile is 0, 1 or 2, not \"" << v << "\"\n";
                return std::nullopt;
            }
        } else {
            o.folder = v;
        }
    }
    return o;
}

}  // namespace

int RunLighting(const Arguments& args, std::ostream& out, std::ostream& err) {
    const auto options = ParseOptions(args, err);
    if (!options) return kExitUsage;
    if (options->words.empty()) {
        err << kLightingUsage;
        return kExitUsage;
    }
    const auto* action = std::find_if(kActions.begin(), kActions.end(),
                                      [&](const Action& a) { return options->words[0] == a.name; });
    if (action == kActions.end()) {
        err << "kwctl lighting: unknown action \"" << options->words[0] << "\"\n" << kLightingUsage;
        return kExitUsage;
    }
    std::string error;
    const auto link = KeyboardSession::Open(error);
    if (!link) {
        err << "kwctl lighting: " << error << "\n";
        return kExitFailed;
    }
    return action->run(*link, *options, ProfileOf(*options, *link), out, err);
}

}  // namespace kw::kwctl
