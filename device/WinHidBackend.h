#pragma once
// The Windows HID stack behind the device seam: setupapi to list interfaces, hid.dll for attributes,
// capabilities and report decoding, overlapped file I/O for reports.
#include "device/HidBackend.h"

namespace kw::device {

class WinHidBackend final : public HidBackend {
public:
    bool Enumerate(std::vector<std::wstring>& paths) override;
    std::unique_ptr<HidConnection> Open(const std::wstring& path, const HidOpenOptions& options) override;
    bool Probe(const std::wstring& path) override;
};

}  // namespace kw::device
