#pragma once
// The presence monitor's two connection-time reads, made through the command protocol.
#include "device/CommandProtocol.h"
#include "device/MonitorLinks.h"

namespace kw::device {

class ProtocolConnectionCommands final : public ConnectionCommands {
public:
    explicit ProtocolConnectionCommands(CommandProtocol& protocol) : m_protocol(protocol) {}
    int ReadSettings(SettingsBlock& block) override { return m_protocol.CMD_READ_SETTINGS(block); }
    int ReadDefaultKeyMap(std::span<uint8_t> keyMap) override { return m_protocol.CMD_READ_DEFAULT_KEYMAP(keyMap); }

private:
    CommandProtocol& m_protocol;
};

}  // namespace kw::device
