#include "tools/kwctl/KeyboardSession.h"

#include "device/DeviceMatch.h"
#include "device/HidBackendFactory.h"
#include "i18n/WideText.h"
#include "model/MacroCatalogueKeys.h"
#include "model/MacroStore.h"
#include "model/ProfileFile.h"
#include "model/UserDataFolder.h"

#include <algorithm>
#include <array>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kw::kwctl {

namespace {

#ifdef _WIN32
// The Keyweave program owns this mutex while it runs, and with it the keyboard.
bool ProgramRunning() {
    HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, L"QT07M41C");
    if (!mutex) return false;
    ::CloseHandle(mutex);
    return true;
}
#endif

const char* StepText(model::TransferStep step) {
    using model::TransferStep;
    struct Row {
        TransferStep step;
        const char* text;
    };
    static constexpr Row kRows[] = {
        {TransferStep::None, "no failure"},
        {TransferStep::NotReadFromKeyboard, "the configuration was not read from the keyboard"},
        {TransferStep::DefaultMapNotRead, "the keyboard's factory key map could not be read"},
        {TransferStep::MacrosDoNotFit, "the macros do not fit into the keyboard's macro memory"},
        {TransferStep::OutOfMemory, "out of memory"},
        {TransferStep::BadProfile, "the profile is not 1, 2 or 3"},
        {TransferStep::Begin, "the keyboard did not accept the start of the transfer"},
        {TransferStep::WriteMacros, "writing the macros failed"},
        {TransferStep::WriteKeyMap, "writing a key map failed"},
        {TransferStep::End, "the keyboard did not accept the end of the transfer"},
        {TransferStep::ReadKeyMap, "reading a key map failed"},
        {TransferStep::ReadMacroHeader, "reading the macro memory failed"},
        {TransferStep::ReadMacros, "reading the macros failed"},
        {TransferStep::BadMacroArea, "the keyboard's macro memory does not hold together"},
        {TransferStep::BadKeyMap, "a key map from the keyboard could not be understood"},
        {TransferStep::SaveFile, "the profile file could not be saved"},
    };
    for (const Row& row : kRows)
        if (row.step == step) return row.text;
    return "unknown failure";
}

}  // namespace

std::string DescribeFailure(const model::TransferResult& result) {
    std::string text = StepText(result.failedAt);
    if (result.profile >= 0) text += " (profile " + std::to_string(result.profile + 1) + ")";
    if (result.code != device::kResultSuccess) text += ", result " + std::to_string(result.code);
    return text;
}

void PrintedNotices::Show(const std::wstring& key, const std::wstring& text) {
    m_out << (text == L"#Error" ? i18n::Utf8FromWide(key) : i18n::Utf8FromWide(text)) << "\n";
}

KeyboardSession::KeyboardSession(std::unique_ptr<device::HidBackend> backend)
    : m_backend(std::move(backend)), m_device(*m_backend), m_protocol(m_device, m_lock, m_state) {}

KeyboardSession::~KeyboardSession() { m_device.Close(); }

std::unique_ptr<KeyboardSession> KeyboardSession::Open(std::string& error) {
    const device::BackendRequest request = device::BackendRequestFromEnvironment();
#ifdef _WIN32
    if (request.virtualKeyboard.empty() && ProgramRunning()) {
        error = "the Keyweave program is running and talks to the keyboard; close it first";
        return nullptr;
    }
#endif
    std::string why;
    auto backend = device::MakeHidBackend(request, &why);
    if (!why.empty()) {
        error = why;
        return nullptr;
    }
    return Open(std::move(backend), error);
}

std::unique_ptr<KeyboardSession> KeyboardSession::Open(std::unique_ptr<device::HidBackend> backend, std::string& error) {
    std::unique_ptr<KeyboardSession> session(new KeyboardSession(std::move(backend)));
    if (!session->Connect(error)) return nullptr;
    return session;
}

bool KeyboardSession::Connect(std::string& error) {
    const device::KeyboardModel* model = nullptr;
    if (m_device.Enumerate()) model = device::OpenFirstMatching(m_device, device::kVendorInterface, true, true);
    m_device.FreePathList();
    if (!model) {
        error = "no keyboard is connected";
        return false;
    }
    m_state.SetGeometry(*model);
    m_state.SetConnected(true);
    std::vector<uint8_t> keyMap(static_cast<size_t>(model->keyMapBytes), 0);
    if (m_protocol.CMD_READ_DEFAULT_KEYMAP(keyMap) != device::kResultSuccess) {
        error = "the keyboard's factory key map could not be read";
        return false;
    }
    m_state.SetDefaultKeyMap(keyMap);
    std::copy(keyMap.begin(), keyMap.end(), m_defaultMap.begin());
    device::SettingsBlock settings{};
    if (m_protocol.CMD_READ_SETTINGS(settings) != device::kResultSuccess) {
        error = "the keyboard's settings could not be read";
        return false;
    }
    m_macroCapacity = static_cast<uint32_t>(
        std::min<size_t>(settings[device::kSettingsMacroUnitsAt] * device::kMacroUnitBytes, model::kMaxMacroBlockSize));
    const int active = settings[device::kSettingsActiveProfileAt];
    m_activeProfile = active < device::kOnBoardProfiles ? active : -1;
    return true;
}

std::span<const uint8_t> KeyboardSession::DefaultKeyMap() const {
    return std::span(m_defaultMap).first(static_cast<size_t>(m_state.KeyMapBytes()));
}

model::TransferLink KeyboardSession::Link(int profile) {
    return model::TransferLink{m_protocol, m_state, m_macroCapacity, profile >= 0 ? profile : m_activeProfile,
                               model::CatalogueMacroKeys()};
}

bool ReadKeyboardInto(KeyboardSession& session, model::ConfigStore& working, const char* who, std::ostream& err) {
    model::ReadBackImage image;
    // Any profile will do: the read-back takes all three.
    const model::TransferResult read = model::ReadBackConfiguration(session.Link(0), image);
    if (!read.Ok()) {
        err << who << ": cannot read the keyboard's configuration: " << DescribeFailure(read)
            << "; nothing was changed\n";
        return false;
    }
    if (!model::InstallImage(working, std::move(image))) {
        err << who << ": the keyboard holds more macros than a profile can\n";
        return false;
    }
    return true;
}

bool SaveProfileFile(model::ConfigStore& working, int profile, const char* who, [[maybe_unused]] std::ostream& out, std::ostream& err) {
    model::ProfileFiles& files = model::SystemProfileFiles();
    const auto folder = model::UserDataFolderPath(files);
    if (!folder) {
        err << who << ": the user data folder's path cannot be built; the profile file was not saved\n";
        return false;
    }
    if (!files.FolderExists(*folder)) {
#ifdef _WIN32
        out << who << ": the Keyweave program has not made its user data folder yet; no profile file was saved\n";
        return true;
#else
        const auto made = model::EnsureUserDataFolder();
        if (made != model::UserDataStatus::Created && made != model::UserDataStatus::Existing) {
            err << who << ": cannot create " << i18n::Utf8FromWide(*folder) << "\n";
            return false;
        }
#endif
    }
    const auto path = model::ProfileFilePath(files, profile);
    if (!path || !model::WriteProfileFile(working, *path, files)) {
        err << who << ": the profile file " << (path ? i18n::Utf8FromWide(*path) : std::string()) << " could not be written\n";
        return false;
    }
    return true;
}

bool SendToKeyboard(KeyboardSession& session, model::ConfigStore& working, int profile, bool allProfiles,
                    const char* who, std::ostream& out, std::ostream& err) {
    model::ConfigStore applied;
    PrintedNotices notices(out);
    model::SendOptions options;
    options.allProfiles = allProfiles;
    const model::TransferResult sent = model::SendConfiguration(working, applied, session.Link(profile), notices, options);
    if (!sent.Ok()) {
        err << who << ": sending to the keyboard failed: " << DescribeFailure(sent) << "\n";
        return false;
    }
    return true;
}

}  // namespace kw::kwctl
