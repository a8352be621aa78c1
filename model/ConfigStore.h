#pragma once
// The configuration the owner edits (WorkingStore) and the snapshot of the last send (AppliedStore):
// two records of the same layout, each guarded by its own lock. The lock is recursive, like the
// critical section it stands for, since the owners of a store call each other with it held.
#include "model/MacroSet.h"

#include <mutex>

#include "model/KeyAssignment.h"
#include "model/StringTable.h"

namespace kw::model {

struct ConfigStore {
    std::recursive_mutex lock;
    ConfigurationBuffer configuration;  // header and the key assignments of four profiles
    StringTable texts;                  // program paths and text blocks of those assignments
    MacroSet macros;  // the macro records and their count, under the lock
    bool notFromKeyboard = false;  // defaults stand in for a configuration the keyboard could not give
};

}  // namespace kw::model
