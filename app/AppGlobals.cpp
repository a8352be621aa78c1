#include "app/AppGlobals.h"

namespace kw {

std::atomic<intptr_t>* AppGlobals::Table() {
    static std::atomic<intptr_t> table[kSlotCount] = {};
    return table;
}

}  // namespace kw
