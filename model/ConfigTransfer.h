#pragma once
// Moving the whole configuration between the program and the keyboard: the send writes the macro
// block and one or all three key maps between a begin and an end command; the read-back reads the
// three key maps and the macro area into a profile image in memory, which is only saved and loaded
// once it is whole.
//
// A send is a success only when every command of it was acknowledged: a keyboard that kept the old
// macros but took the new key maps plays the wrong macros on the new keys.
#include "device/CommandProtocol.h"
#include "device/KeyboardState.h"
#include "model/ConfigStore.h"
#include "model/MacroBlock.h"
#include "model/MacroKeyCodes.h"
#include "model/MacroRecord.h"
#include "model/ProfileFiles.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kw::model {

// Where the owner reads what a transfer has to say: the window shows a message box, kwctl prints.
class TransferNotices {
public:
    virtual ~TransferNotices() = default;
    // key is the language key ("EXTRA_MACRO_TOO_LONG", ...), text its wording in the current language.
    virtual void Show(const std::wstring& key, const std::wstring& text) = 0;
};

// The keyboard a transfer talks to and what was learnt about it at connection.
struct TransferLink {
    device::CommandProtocol& commands;
    const device::KeyboardState& keyboard;
    uint32_t macroCapacity = 0;  // bytes; 0 while the settings block has not been read
    int currentProfile = -1;     // 0 to 2; -1 while unknown
    const MacroKeyVocabulary& keys;
};

// The connected keyboard as the presence monitor (or kwctl's own connection) left it in the
// process-wide objects.
TransferLink KeyboardTransferLink();

enum class TransferStep {
    None,
    NotReadFromKeyboard,  // the configuration is a stand-in for one the keyboard could not give
    DefaultMapNotRead,    // no factory key map from this connection: nothing can be encoded or decoded
    MacrosDoNotFit,       // even without names, or the capacity is still unknown
    OutOfMemory,
    BadProfile,           // the current profile is not 0 to 2
    Begin,
    WriteMacros,
    WriteKeyMap,
    End,
    ReadKeyMap,
    ReadMacroHeader,
    ReadMacros,
    BadMacroArea,  // the area carries the magic but does not hold together
    BadKeyMap,     // a key map read back could not be decoded
    SaveFile,
};

struct TransferResult {
    TransferStep failedAt = TransferStep::None;
    int code = device::kResultSuccess;  // the protocol's result of the failed command
    int profile = -1;                   // of the failed key-map command
    bool namesDropped = false;
    bool Ok() const { return failedAt == TransferStep::None; }
};

struct SendOptions {
    bool allProfiles = false;  // profiles 0, 1 and 2 in that order; only the current one otherwise
    // The owner was told that the configuration is not the keyboard's and wants it sent anyway.
    bool overwriteUnreadKeyboard = false;
};

// Snapshots working into applied (both locks held for the whole send), checks the macros against
// the capacity and sends. "EXTRA_MACRO_TOO_LONG" when nothing can be sent for the macros' size;
// "EXTRA_PROFILE_SPACE_TIGHT" after the end command when names were left out.
//
// A working store marked notFromKeyboard is refused (NotReadFromKeyboard, nothing sent and no
// snapshot taken) unless the options say the owner agreed.
TransferResult SendConfiguration(ConfigStore& working, ConfigStore& applied, const TransferLink& link,
                                 TransferNotices& notices, SendOptions options = {});

// A configuration read back from the keyboard: profile file headers, profiles 0 to 2 decoded from
// its key maps, the fourth block cleared, no texts (the keyboard never has them), the macros parsed
// from its macro area.
struct ReadBackImage {
    ConfigurationBuffer configuration{};
    std::vector<MacroRecord> macros;
};

// Reads everything before anything is changed: on failure image is untouched.
TransferResult ReadBackConfiguration(const TransferLink& link, ReadBackImage& image);

// Puts a read-back image in place, for example as a profile file written beside and then renamed.
using ProfileImageSaver = std::function<bool(const ReadBackImage& image, int profile)>;

// The program's saver: the image becomes the profile file of the user data folder, written to a
// sibling file and then put in place, so a failure leaves the old file.
ProfileImageSaver ProfileFileSaver(ProfileFiles& files = SystemProfileFiles());

struct ReloadOutcome {
    TransferResult readBack;
    bool fromKeyboard = false;  // false: the working store now holds the default configuration
};

// Reads back the keyboard, saves the image for the current profile and installs it as the working
// store. The caller makes sure the user data folder exists (EnsureUserDataFolder). When anything
// fails the working store gets the default configuration, marked
// notFromKeyboard so that the next send asks before it overwrites the keyboard with it.
ReloadOutcome ReloadFromKeyboard(ConfigStore& working, const TransferLink& link, const ProfileImageSaver& save);

// The working store's contents replaced by an image (texts cleared), under its lock.
bool InstallImage(ConfigStore& working, ReadBackImage&& image);

}  // namespace kw::model
