#pragma once
// The 64-byte request the keyboard's vendor interface takes, and the layout of its 64-byte answer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kw::device {

inline constexpr size_t kFrameBytes = 64;
inline constexpr size_t kChunkBytes = 56;  // data bytes one frame (or one answer) carries
inline constexpr uint8_t kCommandReportId = 0x04;

// Byte positions shared by requests and answers.
inline constexpr size_t kFrameChecksumAt = 1;  // 16-bit, low byte first
inline constexpr size_t kFrameCommandAt = 3;
inline constexpr size_t kFrameLengthAt = 4;
inline constexpr size_t kFrameAddressAt = 5;   // 16-bit, low byte first
inline constexpr size_t kAnswerStatusAt = 7;   // reserved (0) in a request
inline constexpr size_t kFrameDataAt = 8;

// Answer statuses the program treats as errors; every other value is success.
inline constexpr uint8_t kStatusErrorFF = 0xFF;
inline constexpr uint8_t kStatusErrorFE = 0xFE;

enum class CommandCode : uint8_t {
    Begin = 0x01,
    End = 0x02,
    ReadSettings = 0x03,
    WriteSettings = 0x04,
    ReadMem = 0x05,
    WriteMem = 0x06,
    ReadKeyMap = 0x07,
    WriteKeyMap = 0x08,
    ReadMacros = 0x09,
    WriteMacros = 0x0A,
    Test = 0x0D,
    ReadDefaultKeyMap = 0x0F,
    WriteKeyColours = 0x11,
    EnterBoot = 0xEE,
};

// The 16-bit sum of bytes 3 to 63, each taken unsigned; 61 bytes of at most 255 never reach 16 bits.
inline uint16_t FrameChecksum(std::span<const uint8_t, kFrameBytes> frame) {
    uint32_t sum = 0;
    for (size_t i = kFrameCommandAt; i < kFrameBytes; ++i) sum += frame[i];
    return static_cast<uint16_t>(sum);
}

class CommandFrame {
public:
    using Bytes = std::array<uint8_t, kFrameBytes>;

    // All zero but the report identifier.
    CommandFrame() { m_bytes[0] = kCommandReportId; }
    // A sealed frame of one command: length, address and up to 56 payload bytes (more are cut).
    explicit CommandFrame(CommandCode command, uint8_t length = 0, uint16_t address = 0,
                          std::span<const uint8_t> payload = {});

    void SetCommand(CommandCode command) { m_bytes[kFrameCommandAt] = static_cast<uint8_t>(command); }
    void SetLength(uint8_t length) { m_bytes[kFrameLengthAt] = length; }
    void SetAddress(uint16_t address);
    // Copies up to 56 bytes to the payload; the bytes behind them keep what they held.
    void SetPayload(std::span<const uint8_t> payload);
    // Computes the checksum over the frame as it is now; call it last.
    void Seal();

    CommandCode Command() const { return static_cast<CommandCode>(m_bytes[kFrameCommandAt]); }
    uint8_t Length() const { return m_bytes[kFrameLengthAt]; }
    uint16_t Address() const;
    uint16_t StoredChecksum() const;

    const Bytes& bytes() const { return m_bytes; }
    Bytes& bytes() { return m_bytes; }

private:
    Bytes m_bytes{};
};

}  // namespace kw::device
