#pragma once
// kwctl's own connection to the keyboard, made as the presence monitor makes the program's: the
// vendor interface found and opened, the model's geometry, the factory key map and the settings
// block read. Only one program may talk to a keyboard at a time, so a keyboard the Keyweave program
// holds is refused.
#include "device/CommandProtocol.h"
#include "device/DeviceLock.h"
#include "device/HidBackend.h"
#include "device/HidDevice.h"
#include "device/KeyboardState.h"
#include "model/ConfigStore.h"
#include "model/ConfigTransfer.h"

#include <memory>
#include <ostream>
#include <string>

namespace kw::kwctl {

class KeyboardSession {
public:
    // The keyboard the environment names (KEYWEAVE_VIRTUAL_KEYBOARD), or the machine's own; null
    // with a reason when there is none or the program holds it.
    static std::unique_ptr<KeyboardSession> Open(std::string& error);
    // Over a backend the caller made.
    static std::unique_ptr<KeyboardSession> Open(std::unique_ptr<device::HidBackend> backend, std::string& error);
    ~KeyboardSession();
    KeyboardSession(const KeyboardSession&) = delete;
    KeyboardSession& operator=(const KeyboardSession&) = delete;

    // The profile the keyboard plays now, or the one asked for.
    model::TransferLink Link(int profile = -1);
    int ActiveProfile() const { return m_activeProfile; }
    int KeyCount() const { return m_state.KeyCount(); }
    std::span<const uint8_t> DefaultKeyMap() const;
    device::CommandProtocol& Commands() { return m_protocol; }

private:
    explicit KeyboardSession(std::unique_ptr<device::HidBackend> backend);
    bool Connect(std::string& error);

    std::unique_ptr<device::HidBackend> m_backend;
    device::HidDevice m_device;
    device::DeviceLock m_lock;
    device::KeyboardState m_state;
    device::CommandProtocol m_protocol;
    std::array<uint8_t, device::kMaxKeyMapBytes> m_defaultMap{};
    uint32_t m_macroCapacity = 0;
    int m_activeProfile = -1;
};

// Prints what a transfer has to say, as the window's message boxes would.
class PrintedNotices final : public model::TransferNotices {
public:
    explicit PrintedNotices(std::ostream& out) : m_out(out) {}
    void Show(const std::wstring& key, const std::wstring& text) override;

private:
    std::ostream& m_out;
};

// Why a transfer failed, in words.
std::string DescribeFailure(const model::TransferResult& result);

// Reads the keyboard's whole configuration into the store; false, with the reason printed, when any
// of it cannot be read: a change is then never sent, since it would overwrite what was not read.
bool ReadKeyboardInto(KeyboardSession& session, model::ConfigStore& working, const char* who, std::ostream& err);

// Writes the store to the profile file of the user data folder (kwctl's own under the XDG data home
// elsewhere than on Windows, where it is the program's and is left for the program to create).
// False, with the reason printed, when it could not be written.
bool SaveProfileFile(model::ConfigStore& working, int profile, const char* who, std::ostream& out, std::ostream& err);

// Sends as the program's Apply does (all three profiles when asked) and prints the outcome.
bool SendToKeyboard(KeyboardSession& session, model::ConfigStore& working, int profile, bool allProfiles,
                    const char* who, std::ostream& out, std::ostream& err);

}  // namespace kw::kwctl
