#include "device/NamedEventNames.h"

namespace kw::device {

std::wstring NamedEventName(int number) {
    std::wstring digits = std::to_wstring(number);
    if (digits.size() < 2) digits.insert(0, 1, L'0');
    return L"Keyweave_Event_Main_" + digits;
}

}  // namespace kw::device
