#pragma once
// Which keyboards the program can see: the virtual keyboard when the environment names its state
// file, otherwise the machine's HID interfaces (on Windows) or none at all (elsewhere).
#include "device/HidBackend.h"

#include <memory>
#include <string>

namespace kw::device {

inline constexpr const char* kVirtualKeyboardVariable = "KEYWEAVE_VIRTUAL_KEYBOARD";
inline constexpr const char* kVirtualModelVariable = "KEYWEAVE_VIRTUAL_MODEL";

struct BackendRequest {
    std::string virtualKeyboard;  // state file (UTF-8); empty for the machine's own interfaces
    std::string virtualModel;     // "126" or "128": the model of a state file made afresh; empty for 128
};

BackendRequest BackendRequestFromEnvironment();

// When the virtual keyboard is asked for but cannot be had (another process holds it, its state file
// is damaged, the model is unknown), the result sees no keyboard at all and the error says why; it is
// never silently the machine's own interfaces instead.
std::unique_ptr<HidBackend> MakeHidBackend(const BackendRequest& request, std::string* error);
std::unique_ptr<HidBackend> MakeHidBackend(std::string* error = nullptr);

}  // namespace kw::device
