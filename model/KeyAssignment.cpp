#include "model/KeyAssignment.h"

namespace kw::model {

void ResetProfileBlock(ProfileBlock& block) {
    block.fill(KeyAssignment{});
    for (int i = 0; i < kGKeySlots; ++i) {
        const bool bankA = i < kGKeySlots / 2;
        const int number = bankA ? i + 1 : i - kGKeySlots / 2 + 1;
        block[kFirstGKeyIndex + i].tag = static_cast<std::uint16_t>((bankA ? kBankATagBase : kBankBTagBase) + number);
    }
}

}  // namespace kw::model
