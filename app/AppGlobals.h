#pragma once
// The process-wide table of slots shared by the window, the device threads and the model. Each slot
// is pointer-sized so that it can hold a handle or an object on either width; slots are read and
// written without a lock, so each is an atomic of its own.
#include <atomic>
#include <cstdint>

namespace kw {

enum class Slot : int {
    MainWindow = 5,          // main window handle
    MainObject = 6,          // the main window object
    StartHidden = 9,         // "/Start": do not open the window at the first connection
    InstanceMutex = 11,      // single-instance mutex handle
    SelectionMode = 12,      // selection-mode flag of the main window
    ActiveProfile = 13,      // the keyboard's active on-board profile; -1 while not read
    MacroCapacity = 14,      // macro capacity in bytes (settings byte 11 x 128)
    KeyboardReady = 15,      // keyboard ready as the user interface sees it
    ConnectionChanging = 16, // a connection change is in progress
    ProgramKey = 17,         // the open program registry key object
};

class AppGlobals {
public:
    static constexpr int kSlotCount = 32;

    static intptr_t Get(Slot slot) { return Table()[Index(slot)].load(std::memory_order_acquire); }
    static void Set(Slot slot, intptr_t value) { Table()[Index(slot)].store(value, std::memory_order_release); }
    template <class T>
    static T* GetPointer(Slot slot) { return reinterpret_cast<T*>(Get(slot)); }
    template <class T>
    static void SetPointer(Slot slot, T* p) { Set(slot, reinterpret_cast<intptr_t>(p)); }

private:
    static constexpr int Index(Slot slot) { return static_cast<int>(slot); }
    static std::atomic<intptr_t>* Table();
};

}  // namespace kw
