#pragma once
// The keyboard's request/answer protocol on its vendor interface: one exchange per 64-byte request,
// with tries and time-outs, and one operation per command. Block commands move their bytes in
// 56-byte chunks. Every operation returns a result code; callers test for kResultSuccess.
#include "device/CommandFrame.h"
#include "device/DeviceLock.h"
#include "device/HidDevice.h"
#include "device/KeyboardState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kw::device {

// Result codes of every command operation.
inline constexpr int kResultSuccess = 1;
inline constexpr int kResultNoAnswer = 0;        // not connected (nothing sent), or no answer in any try
inline constexpr int kResultWriteFailed = -1;    // the request could not be written (or not be framed)
inline constexpr int kResultStatusFF = -102;
inline constexpr int kResultStatusFE = -103;
inline constexpr int kResultBadProfile = -201;   // key-map profile above 2; nothing sent

inline constexpr int kOnBoardProfiles = 3;

// The 44-byte settings block and what the program reads in it.
using SettingsBlock = std::array<uint8_t, 44>;
inline constexpr size_t kSettingsActiveProfileAt = 10;
inline constexpr size_t kSettingsMacroUnitsAt = 11;  // macro capacity in units of 128 bytes
inline constexpr size_t kSettingsEffectListAt = 12;  // 32 effect codes, 0 = empty
inline constexpr size_t kSettingsEffectSlots = 32;
inline constexpr size_t kMacroUnitBytes = 128;

// The macro area's size and offsets are 16-bit on the keyboard.
inline constexpr size_t kMaxMacroAreaBytes = 0xFFFF;

// The per-key colour table: 512 bytes per profile whatever the geometry, 3 bytes per key light.
inline constexpr size_t kKeyColourProfileBytes = 512;

using MemoryChunk = std::array<uint8_t, kChunkBytes>;

struct ProtocolTimings {
    uint32_t writeTimeoutMs = 1000;
    uint32_t readTimeoutMs = 300;
    int tries = 4;
    uint32_t endDelayMs = 10;  // the end command goes this long after the call
};

class CommandProtocol {
public:
    // The device is the command interface the presence monitor opens; the keyboard state gives the
    // connection flag and the key-map geometry.
    CommandProtocol(HidDevice& device, DeviceLock& lock, const KeyboardState& keyboard,
                    ProtocolTimings timings = {});
    CommandProtocol(const CommandProtocol&) = delete;
    CommandProtocol& operator=(const CommandProtocol&) = delete;

    // One request (padded with zeros or cut to 64 bytes) and its answer, with up to `tries` tries.
    // 1 when an answer was read (its status is not judged here), 0 when not connected or no answer
    // came, -1 when a write failed. The keyboard's answers carry no dependable echo of their request,
    // so answers that come too late for their own try must not be taken for another request's: input
    // reports left over from earlier requests are discarded before every write, and after a try that
    // was answered only on a retry the late answers of the earlier tries are awaited (one read time-out
    // at most) and dropped.
    int Exchange(const uint8_t* request, size_t requestBytes, uint8_t* answer, size_t answerBytes,
                 size_t* answerCount);
    // Writes one request and reads nothing: non-zero when written, 0 when not connected or not written.
    int SendOnly(const uint8_t* request, size_t requestBytes);

    int CMD_BEGIN();
    int CMD_END();  // waits endDelayMs first
    int CMD_READ_SETTINGS(SettingsBlock& block);
    int CMD_WRITE_SETTINGS(const SettingsBlock& block);
    // Asks for `length` bytes at the address; the answer's 56 data bytes go to `data`.
    int CMD_READ_MEM(uint16_t address, uint8_t length, MemoryChunk& data);
    // 1 to 56 bytes; any other count is refused with kResultWriteFailed and nothing is sent.
    int CMD_WRITE_MEM(uint16_t address, std::span<const uint8_t> data);
    // Profile 0 to 2; the buffer must hold the key-map block size (kResultWriteFailed otherwise,
    // nothing sent). Chunks read before a failure stay in the buffer.
    int CMD_READ_KEYMAP(int profile, std::span<uint8_t> keyMap);
    int CMD_WRITE_KEYMAP(int profile, std::span<const uint8_t> keyMap);
    // The macro area from offset 0, as many bytes as the span holds (at most kMaxMacroAreaBytes).
    int CMD_READ_MACROS(std::span<uint8_t> area);
    int CMD_WRITE_MACROS(std::span<const uint8_t> block);
    int CMD_TEST();
    // The factory key map: key-map block size bytes from offset 0; the buffer must hold them.
    int CMD_READ_DEFAULT_KEYMAP(std::span<uint8_t> keyMap);
    // 1 to 56 bytes of red, green, blue per key light at profile x 512 + first light x 3.
    int CMD_WRITE_KEY_COLOURS(uint16_t address, std::span<const uint8_t> colours);
    // Boot mode: written only, no answer read. 1 when written, 0 when not connected, -1 otherwise.
    int CMD_ENTER_BOOT();

private:
    int Simple(const CommandFrame& frame, std::span<uint8_t> answerData);
    int BlockRead(CommandCode command, uint32_t base, std::span<uint8_t> out);
    int BlockWrite(CommandCode command, uint32_t base, std::span<const uint8_t> in);
    void DiscardLeftovers();
    void SettleLateAnswers(int unanswered);

    HidDevice& m_device;
    DeviceLock& m_lock;
    const KeyboardState& m_keyboard;
    ProtocolTimings m_timings;
};

}  // namespace kw::device
