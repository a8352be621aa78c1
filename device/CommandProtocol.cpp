#include "device/CommandProtocol.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace kw::device {

namespace {

// A HID input buffer holds a few dozen reports at most; draining more than this means the interface
// is streaming, and the exchange goes on regardless.
constexpr int kMaxLeftoversPerWrite = 64;

bool IsFramable(std::span<const uint8_t> data) { return !data.empty() && data.size() <= kChunkBytes; }

}  // namespace

CommandProtocol::CommandProtocol(HidDevice& device, DeviceLock& lock, const KeyboardState& keyboard,
                                 ProtocolTimings timings)
    : m_device(device), m_lock(lock), m_keyboard(keyboard), m_timings(timings) {}

void CommandProtocol::DiscardLeftovers() {
    // The buffer must take a whole input report, or a real HID read fails without taking one.
    std::vector<uint8_t> scratch(std::max<size_t>(kFrameBytes, m_device.Caps().inputReportByteLength));
    for (int i = 0; i < kMaxLeftoversPerWrite; ++i) {
        size_t got = 0;
        if (!m_device.ReadReport(scratch.data(), scratch.size(), &got, 0)) break;
    }
}

int CommandProtocol::Exchange(const uint8_t* request, size_t requestBytes, uint8_t* answer, size_t answerBytes,
                              size_t* answerCount) {
    if (answerCount) *answerCount = 0;
    if (!m_keyboard.Connected() || answer == nullptr || answerBytes == 0) return kResultNoAnswer;

    CommandFrame::Bytes frame{};
    if (request != nullptr) std::copy_n(request, std::min(requestBytes, kFrameBytes), frame.begin());

    int unanswered = 0;  // tries whose answer may still be on its way
    for (int attempt = 0; attempt < m_timings.tries; ++attempt) {
        // The write and the read of a try stay together, so no other thread's request comes between
        // a request and its answer.
        std::lock_guard<DeviceLock> hold(m_lock);
        DiscardLeftovers();
        size_t written = 0;
        if (!m_device.WriteReport(frame.data(), frame.size(), &written, m_timings.writeTimeoutMs) ||
            written != frame.size())
            return kResultWriteFailed;
        size_t got = 0;
        if (!m_device.ReadReport(answer, answerBytes, &got, m_timings.readTimeoutMs)) {
            ++unanswered;
            continue;
        }
        // An answer too short to carry its status byte is no answer.
        if (got <= kAnswerStatusAt) continue;
        if (answerCount) *answerCount = got;
        SettleLateAnswers(unanswered);
        return kResultSuccess;
    }
    return kResultNoAnswer;
}

void CommandProtocol::SettleLateAnswers(int unanswered) {
    // Every try answers the same request, so whichever answer came first is good; the others are
    // still due and would otherwise arrive while the next request is on its way, too late for the
    // discarding before its write. They get one read time-out in all.
    if (unanswered <= 0) return;
    std::vector<uint8_t> scratch(std::max<size_t>(kFrameBytes, m_device.Caps().inputReportByteLength));
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timings.readTimeoutMs);
    for (; unanswered > 0; --unanswered) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(giveUp - std::chrono::steady_clock::now());
        size_t got = 0;
        if (left.count() <= 0 ||
            !m_device.ReadReport(scratch.data(), scratch.size(), &got, static_cast<uint32_t>(left.count())))
            break;
    }
}

int CommandProtocol::SendOnly(const uint8_t* request, size_t requestBytes) {
    if (!m_keyboard.Connected()) return 0;
    CommandFrame::Bytes frame{};
    if (request != nullptr) std::copy_n(request, std::min(requestBytes, kFrameBytes), frame.begin());
    std::lock_guard<DeviceLock> hold(m_lock);
    size_t written = 0;
    return m_device.WriteReport(frame.data(), frame.size(), &written, m_timings.writeTimeoutMs) &&
           written == frame.size();
}

int CommandProtocol::Simple(const CommandFrame& frame, std::span<uint8_t> answerData) {
    std::array<uint8_t, kFrameBytes> answer{};
    size_t got = 0;
    const int result = Exchange(frame.bytes().data(), frame.bytes().size(), answer.data(), answer.size(), &got);
    if (result != kResultSuccess) return result;
    if (answer[kAnswerStatusAt] == kStatusErrorFF) return kResultStatusFF;
    if (answer[kAnswerStatusAt] == kStatusErrorFE) return kResultStatusFE;
    if (answerData.empty()) return kResultSuccess;
    // Data the answer does not carry is not made up from the buffer's zeros.
    if (got < kFrameDataAt + answerData.size()) return kResultNoAnswer;
    std::copy_n(answer.begin() + kFrameDataAt, answerData.size(), answerData.begin());
    return kResultSuccess;
}

int CommandProtocol::BlockRead(CommandCode command, uint32_t base, std::span<uint8_t> out) {
    if (out.empty()) return kResultSuccess;
    CommandFrame frame;
    frame.SetCommand(command);
    for (size_t offset = 0; offset < out.size(); offset += kChunkBytes) {
        const size_t chunk = std::min(kChunkBytes, out.size() - offset);
        frame.SetLength(static_cast<uint8_t>(chunk));
        frame.SetAddress(static_cast<uint16_t>(base + offset));
        frame.Seal();
        const int result = Simple(frame, out.subspan(offset, chunk));
        if (result != kResultSuccess) return result;
    }
    return kResultSuccess;
}

int CommandProtocol::BlockWrite(CommandCode command, uint32_t base, std::span<const uint8_t> in) {
    if (in.empty()) return kResultSuccess;
    // One frame serves every chunk: a shorter last chunk leaves the previous chunk's bytes behind it.
    CommandFrame frame;
    frame.SetCommand(command);
    for (size_t offset = 0; offset < in.size(); offset += kChunkBytes) {
        const size_t chunk = std::min(kChunkBytes, in.size() - offset);
        frame.SetLength(static_cast<uint8_t>(chunk));
        frame.SetAddress(static_cast<uint16_t>(base + offset));
        frame.SetPayload(in.subspan(offset, chunk));
        frame.Seal();
        const int result = Simple(frame, {});
        if (result != kResultSuccess) return result;
    }
    return kResultSuccess;
}

int CommandProtocol::CMD_BEGIN() { return Simple(CommandFrame(CommandCode::Begin), {}); }

int CommandProtocol::CMD_END() {
    if (!m_keyboard.Connected()) return kResultNoAnswer;
    std::this_thread::sleep_for(std::chrono::milliseconds(m_timings.endDelayMs));
    return Simple(CommandFrame(CommandCode::End), {});
}

int CommandProtocol::CMD_READ_SETTINGS(SettingsBlock& block) {
    return Simple(CommandFrame(CommandCode::ReadSettings, static_cast<uint8_t>(block.size())), block);
}

int CommandProtocol::CMD_WRITE_SETTINGS(const SettingsBlock& block) {
    return Simple(CommandFrame(CommandCode::WriteSettings, static_cast<uint8_t>(block.size()), 0, block), {});
}

int CommandProtocol::CMD_READ_MEM(uint16_t address, uint8_t length, MemoryChunk& data) {
    return Simple(CommandFrame(CommandCode::ReadMem, length, address), data);
}

int CommandProtocol::CMD_WRITE_MEM(uint16_t address, std::span<const uint8_t> data) {
    if (!IsFramable(data)) return kResultWriteFailed;
    return Simple(CommandFrame(CommandCode::WriteMem, static_cast<uint8_t>(data.size()), address, data), {});
}

int CommandProtocol::CMD_READ_KEYMAP(int profile, std::span<uint8_t> keyMap) {
    if (profile < 0 || profile >= kOnBoardProfiles) return kResultBadProfile;
    const auto size = static_cast<size_t>(m_keyboard.KeyMapBytes());
    if (keyMap.size() < size) return kResultWriteFailed;
    return BlockRead(CommandCode::ReadKeyMap, static_cast<uint32_t>(profile * size), keyMap.first(size));
}

int CommandProtocol::CMD_WRITE_KEYMAP(int profile, std::span<const uint8_t> keyMap) {
    if (profile < 0 || profile >= kOnBoardProfiles) return kResultBadProfile;
    const auto size = static_cast<size_t>(m_keyboard.KeyMapBytes());
    if (keyMap.size() < size) return kResultWriteFailed;
    return BlockWrite(CommandCode::WriteKeyMap, static_cast<uint32_t>(profile * size), keyMap.first(size));
}

int CommandProtocol::CMD_READ_MACROS(std::span<uint8_t> area) {
    // Past 16 bits the chunk addresses would wrap round onto the start of the area.
    if (area.size() > kMaxMacroAreaBytes) return kResultWriteFailed;
    return BlockRead(CommandCode::ReadMacros, 0, area);
}

int CommandProtocol::CMD_WRITE_MACROS(std::span<const uint8_t> block) {
    if (block.size() > kMaxMacroAreaBytes) return kResultWriteFailed;
    return BlockWrite(CommandCode::WriteMacros, 0, block);
}

int CommandProtocol::CMD_TEST() { return Simple(CommandFrame(CommandCode::Test), {}); }

int CommandProtocol::CMD_READ_DEFAULT_KEYMAP(std::span<uint8_t> keyMap) {
    const auto size = static_cast<size_t>(m_keyboard.KeyMapBytes());
    if (keyMap.size() < size) return kResultWriteFailed;
    return BlockRead(CommandCode::ReadDefaultKeyMap, 0, keyMap.first(size));
}

int CommandProtocol::CMD_WRITE_KEY_COLOURS(uint16_t address, std::span<const uint8_t> colours) {
    if (!IsFramable(colours)) return kResultWriteFailed;
    return Simple(
        CommandFrame(CommandCode::WriteKeyColours, static_cast<uint8_t>(colours.size()), address, colours), {});
}

int CommandProtocol::CMD_ENTER_BOOT() {
    if (!m_keyboard.Connected()) return kResultNoAnswer;
    // The boot request carries no checksum: its checksum bytes stay 0.
    CommandFrame frame;
    frame.bytes()[kFrameCommandAt] = static_cast<uint8_t>(CommandCode::EnterBoot);
    frame.bytes()[kFrameLengthAt] = static_cast<uint8_t>(CommandCode::EnterBoot);
    return SendOnly(frame.bytes().data(), frame.bytes().size()) ? kResultSuccess : kResultWriteFailed;
}

}  // namespace kw::device
