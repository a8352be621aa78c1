#pragma once
// What the program knows about the attached keyboard: whether its command interface is open, its
// key-map geometry and its factory default key map. The presence monitor writes it at each
// connection; the command protocol and the configuration model read it from any thread.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

namespace kw::device {

inline constexpr size_t kMaxKeyMapBytes = 512;

struct KeyboardModel {
    uint16_t vendorId;
    uint16_t productId;
    int keyCount;     // key slots in a key map
    int keyMapBytes;  // key-map block size, and the stride between profiles' key maps
};

inline constexpr std::array<KeyboardModel, 2> kSupportedKeyboards{{
    {0x0C45, 0x5004, 126, 378},
    {0x320F, 0x5000, 128, 512},
}};

// The supported keyboard with this vendor and product, or null.
const KeyboardModel* FindKeyboardModel(uint16_t vendorId, uint16_t productId);

class KeyboardState {
public:
    bool Connected() const { return m_connected.load(); }
    void SetConnected(bool connected) { m_connected.store(connected); }

    int KeyCount() const { return m_keyCount.load(); }
    int KeyMapBytes() const { return m_keyMapBytes.load(); }
    // Set before the connection flag, so nobody sees a connected keyboard with the old geometry.
    void SetGeometry(const KeyboardModel& model);

    // The default key map is valid only once it has been read from this connection's keyboard:
    // encoding against a stale map (all zeros at the first connection, or the other model's) would
    // send a key map in which no key works.
    bool DefaultKeyMapRead() const { return m_defaultRead.load(); }
    void MarkDefaultKeyMapUnread() { m_defaultRead.store(false); }
    void SetDefaultKeyMap(std::span<const uint8_t> bytes);
    // A copy of the default key map, or nothing while it has not been read.
    std::optional<std::array<uint8_t, kMaxKeyMapBytes>> DefaultKeyMap() const;

private:
    std::atomic<bool> m_connected{false};
    std::atomic<int> m_keyCount{128};
    std::atomic<int> m_keyMapBytes{512};
    std::atomic<bool> m_defaultRead{false};
    mutable std::mutex m_mapLock;
    std::array<uint8_t, kMaxKeyMapBytes> m_defaultMap{};
};

// The one keyboard the program talks to.
KeyboardState& TheKeyboard();

}  // namespace kw::device
