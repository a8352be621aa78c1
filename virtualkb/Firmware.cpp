#include "virtualkb/Firmware.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kw::virtualkb {

namespace {

using device::CommandCode;

enum class Access { Read, Write };
enum class Area { Memory, KeyMaps, MacroArea, DefaultKeyMap, KeyColours };

// Commands that read or write a stretch of one stored area at the frame's address.
struct AreaCommand {
    CommandCode code;
    Access access;
    Area area;
};

constexpr std::array<AreaCommand, 8> kAreaCommands{{
    {CommandCode::ReadMem, Access::Read, Area::Memory},
    {CommandCode::WriteMem, Access::Write, Area::Memory},
    {CommandCode::ReadKeyMap, Access::Read, Area::KeyMaps},
    {CommandCode::WriteKeyMap, Access::Write, Area::KeyMaps},
    {CommandCode::ReadMacros, Access::Read, Area::MacroArea},
    {CommandCode::WriteMacros, Access::Write, Area::MacroArea},
    {CommandCode::ReadDefaultKeyMap, Access::Read, Area::DefaultKeyMap},
    {CommandCode::WriteKeyColours, Access::Write, Area::KeyColours},
}};

std::vector<uint8_t>& AreaBytes(StoredContents& c, Area area) {
    switch (area) {
        case Area::Memory: return c.memory;
        case Area::KeyMaps: return c.keyMaps;
        case Area::MacroArea: return c.macroArea;
        case Area::DefaultKeyMap: return c.defaultKeyMap;
        case Area::KeyColours: return c.keyColours;
    }
    return c.memory;
}

}  // namespace

FirmwareReply KeyboardFirmware::Handle(std::span<const uint8_t, device::kFrameBytes> request) {
    FirmwareReply reply;
    const uint8_t command = request[device::kFrameCommandAt];
    const uint8_t length = request[device::kFrameLengthAt];
    if (command == static_cast<uint8_t>(CommandCode::EnterBoot) && length == command) {
        reply.enteredBoot = true;  // it leaves the bus at once and answers nothing
        reply.commit = true;
        return reply;
    }

    reply.answered = true;
    auto& answer = reply.answer;
    std::copy_n(request.begin(), device::kAnswerStatusAt, answer.begin());
    uint8_t status = kStatusDone;
    const uint16_t address =
        static_cast<uint16_t>(request[device::kFrameAddressAt] | (request[device::kFrameAddressAt + 1] << 8));
    const auto payload = request.subspan(device::kFrameDataAt, device::kChunkBytes);
    const auto data = std::span<uint8_t>(answer).subspan(device::kFrameDataAt, device::kChunkBytes);

    const auto* area = std::find_if(kAreaCommands.begin(), kAreaCommands.end(),
                                    [&](const AreaCommand& a) { return static_cast<uint8_t>(a.code) == command; });
    const bool wellFormed = request[0] == device::kCommandReportId &&
                            device::FrameChecksum(request) ==
                                static_cast<uint16_t>(request[device::kFrameChecksumAt] |
                                                      (request[device::kFrameChecksumAt + 1] << 8));
    if (!wellFormed) {
        status = device::kStatusErrorFF;
    } else if (area != kAreaCommands.end()) {
        auto& bytes = AreaBytes(m_contents, area->area);
        if (length == 0 || length > device::kChunkBytes) {
            status = device::kStatusErrorFF;
        } else if (static_cast<size_t>(address) + length > bytes.size() ||
                   (area->access == Access::Write && !m_groupOpen)) {
            status = device::kStatusErrorFE;
        } else if (area->access == Access::Read) {
            std::copy_n(bytes.begin() + address, length, data.begin());
        } else {
            std::copy_n(payload.begin(), length, bytes.begin() + address);
            reply.changed = true;
        }
    } else {
        switch (static_cast<CommandCode>(command)) {
            case CommandCode::Begin:
                m_groupOpen = true;
                break;
            case CommandCode::End:
                m_groupOpen = false;
                reply.commit = true;
                break;
            case CommandCode::ReadSettings:
                if (length != m_contents.settings.size()) status = device::kStatusErrorFF;
                else std::copy(m_contents.settings.begin(), m_contents.settings.end(), data.begin());
                break;
            case CommandCode::WriteSettings:
                if (length != m_contents.settings.size()) {
                    status = device::kStatusErrorFF;
                } else if (payload[device::kSettingsActiveProfileAt] >= device::kOnBoardProfiles) {
                    status = device::kStatusErrorFE;
                } else {
                    m_contents.settings[device::kSettingsActiveProfileAt] = payload[device::kSettingsActiveProfileAt];
                    reply.changed = true;
                    reply.commit = true;
                }
                break;
            case CommandCode::Test:
                ++m_tests;
                break;
            default:
                status = device::kStatusErrorFF;
                break;
        }
    }
    answer[device::kAnswerStatusAt] = status;
    const uint16_t sum = device::FrameChecksum(answer);
    answer[device::kFrameChecksumAt] = static_cast<uint8_t>(sum & 0xFF);
    answer[device::kFrameChecksumAt + 1] = static_cast<uint8_t>(sum >> 8);
    return reply;
}

}  // namespace kw::virtualkb
