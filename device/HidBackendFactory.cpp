#include "device/HidBackendFactory.h"

#include "virtualkb/HostFiles.h"
#include "virtualkb/VirtualKeyboard.h"

#ifdef _WIN32
#include "device/WinHidBackend.h"
#endif

namespace kw::device {

namespace {

// A machine without HID access, or a virtual keyboard that could not be had: nothing is ever there.
class EmptyHidBackend final : public HidBackend {
public:
    bool Enumerate(std::vector<std::wstring>& paths) override {
        paths.clear();
        return true;
    }
    std::unique_ptr<HidConnection> Open(const std::wstring&, const HidOpenOptions&) override { return nullptr; }
    bool Probe(const std::wstring&) override { return false; }
};

std::unique_ptr<HidBackend> Unavailable(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return std::make_unique<EmptyHidBackend>();
}

}  // namespace

BackendRequest BackendRequestFromEnvironment() {
    return {virtualkb::EnvironmentText(kVirtualKeyboardVariable), virtualkb::EnvironmentText(kVirtualModelVariable)};
}

std::unique_ptr<HidBackend> MakeHidBackend(const BackendRequest& request, std::string* error) {
    if (error) error->clear();
    if (request.virtualKeyboard.empty()) {
#ifdef _WIN32
        return std::make_unique<WinHidBackend>();
#else
        return std::make_unique<EmptyHidBackend>();
#endif
    }
    const int keys = request.virtualModel.empty() ? 128 : request.virtualModel == "126" ? 126
                                                     : request.virtualModel == "128"   ? 128
                                                                                       : 0;
    const KeyboardModel* model = virtualkb::ModelWithKeys(keys);
    if (!model)
        return Unavailable(error, std::string(kVirtualModelVariable) + " is \"" + request.virtualModel +
                                      "\"; it must be 126 or 128");
    std::string reason;
    auto keyboard =
        virtualkb::VirtualKeyboard::OpenStateFile(virtualkb::HostPath(request.virtualKeyboard), *model, reason);
    if (!keyboard) return Unavailable(error, reason);
    return keyboard;
}

std::unique_ptr<HidBackend> MakeHidBackend(std::string* error) {
    return MakeHidBackend(BackendRequestFromEnvironment(), error);
}

}  // namespace kw::device
