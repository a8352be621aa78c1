#include "device/DeviceMatch.h"

#include <cwctype>

namespace kw::device {

std::optional<uint16_t> PathNumberAfter(const std::wstring& path, const wchar_t* tag) {
    const std::wstring wanted(tag);
    for (size_t i = 0; i + wanted.size() <= path.size(); ++i) {
        bool same = true;
        for (size_t k = 0; k < wanted.size() && same; ++k)
            same = std::towlower(static_cast<wint_t>(path[i + k])) == static_cast<wint_t>(wanted[k]);
        if (!same) continue;
        uint32_t value = 0;
        size_t digits = 0;
        for (size_t k = i + wanted.size(); k < path.size() && std::iswxdigit(static_cast<wint_t>(path[k])); ++k) {
            const wint_t c = std::towlower(static_cast<wint_t>(path[k]));
            value = ((value << 4) | static_cast<uint32_t>(c <= L'9' ? c - L'0' : c - L'a' + 10)) & 0xFFFFFu;
            ++digits;
        }
        if (digits == 0) return std::nullopt;
        return static_cast<uint16_t>(value & 0xFFFFu);
    }
    return std::nullopt;
}

bool IsCandidatePath(const std::wstring& path) {
    const auto vid = PathNumberAfter(path, L"vid_");
    const auto pid = PathNumberAfter(path, L"pid_");
    return vid && pid && FindKeyboardModel(*vid, *pid) != nullptr;
}

const KeyboardModel* ConfirmOpenDevice(const HidDevice& device, InterfaceUsage wanted) {
    const auto attributes = device.Attributes();
    const auto caps = device.Caps();
    if (caps.usagePage != wanted.usagePage || caps.usage != wanted.usage) return nullptr;
    return FindKeyboardModel(attributes.vendorId, attributes.productId);
}

const KeyboardModel* OpenFirstMatching(HidDevice& device, InterfaceUsage wanted, bool read, bool write) {
    while (const wchar_t* p = device.NextPath()) {
        const std::wstring path(p);
        if (!IsCandidatePath(path)) continue;
        if (!device.Open(path, read, write, true, false)) continue;
        if (const KeyboardModel* model = ConfirmOpenDevice(device, wanted)) return model;
        device.Close();
    }
    return nullptr;
}

}  // namespace kw::device
