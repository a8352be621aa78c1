#include "device/KeyboardState.h"

#include <algorithm>

namespace kw::device {

const KeyboardModel* FindKeyboardModel(uint16_t vendorId, uint16_t productId) {
    for (const auto& model : kSupportedKeyboards)
        if (model.vendorId == vendorId && model.productId == productId) return &model;
    return nullptr;
}

void KeyboardState::SetGeometry(const KeyboardModel& model) {
    m_keyCount.store(model.keyCount);
    m_keyMapBytes.store(model.keyMapBytes);
}

void KeyboardState::SetDefaultKeyMap(std::span<const uint8_t> bytes) {
    {
        std::lock_guard<std::mutex> g(m_mapLock);
        m_defaultMap.fill(0);
        std::copy_n(bytes.begin(), std::min(bytes.size(), m_defaultMap.size()), m_defaultMap.begin());
    }
    m_defaultRead.store(true);
}

std::optional<std::array<uint8_t, kMaxKeyMapBytes>> KeyboardState::DefaultKeyMap() const {
    if (!m_defaultRead.load()) return std::nullopt;
    std::lock_guard<std::mutex> g(m_mapLock);
    return m_defaultMap;
}

KeyboardState& TheKeyboard() {
    static KeyboardState state;
    return state;
}

}  // namespace kw::device
