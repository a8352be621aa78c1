#pragma once
// The configuration the owner edits (WorkingStore) and the snapshot of the last send (AppliedStore):
// two records of the same layout, each guarded by its own lock. The lock is recursive, like the
// critical section it stands for, since the owners of a store call each other with it held.
#include <mutex>

namespace kw::model {

struct ConfigStore {
    std::recursive_mutex lock;
};

}  // namespace kw::model
