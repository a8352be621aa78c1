#include "device/CommandFrame.h"

#include <algorithm>

namespace kw::device {

CommandFrame::CommandFrame(CommandCode command, uint8_t length, uint16_t address, std::span<const uint8_t> payload)
    : CommandFrame() {
    SetCommand(command);
    SetLength(length);
    SetAddress(address);
    SetPayload(payload);
    Seal();
}

void CommandFrame::SetAddress(uint16_t address) {
    m_bytes[kFrameAddressAt] = static_cast<uint8_t>(address & 0xFF);
    m_bytes[kFrameAddressAt + 1] = static_cast<uint8_t>(address >> 8);
}

void CommandFrame::SetPayload(std::span<const uint8_t> payload) {
    std::copy_n(payload.begin(), std::min(payload.size(), kChunkBytes), m_bytes.begin() + kFrameDataAt);
}

void CommandFrame::Seal() {
    const uint16_t sum = FrameChecksum(m_bytes);
    m_bytes[kFrameChecksumAt] = static_cast<uint8_t>(sum & 0xFF);
    m_bytes[kFrameChecksumAt + 1] = static_cast<uint8_t>(sum >> 8);
}

uint16_t CommandFrame::Address() const {
    return static_cast<uint16_t>(m_bytes[kFrameAddressAt] | (m_bytes[kFrameAddressAt + 1] << 8));
}

uint16_t CommandFrame::StoredChecksum() const {
    return static_cast<uint16_t>(m_bytes[kFrameChecksumAt] | (m_bytes[kFrameChecksumAt + 1] << 8));
}

}  // namespace kw::device
