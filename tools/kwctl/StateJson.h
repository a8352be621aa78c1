#pragma once
// A virtual keyboard's state as JSON, for people and scripts.
#include "virtualkb/BusFile.h"
#include "virtualkb/HolderLock.h"
#include "virtualkb/StoredContents.h"

#include <optional>
#include <string>

namespace kw::kwctl {

std::string StateJson(const std::string& file, const virtualkb::StoredContents& contents,
                      const virtualkb::BusState& bus, const std::optional<virtualkb::LockHolder>& holder);

}  // namespace kw::kwctl
