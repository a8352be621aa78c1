#pragma once
// A window's message table: rows of (message, notification code, control id range, handler), held as
// data and searched in order. The first matching row handles the message.
#include <windows.h>

#include <span>

namespace kw::fw {

inline constexpr UINT kAnyCode = 0xFFFFFFFFu;

template <class T>
struct MessageEntry {
    UINT message;
    UINT code;     // WM_COMMAND: notification code; WM_NOTIFY: NMHDR::code; others: kAnyCode
    UINT idFirst;  // control or command id range; 0..0xFFFF for any
    UINT idLast;
    LRESULT (T::*handler)(WPARAM, LPARAM);
};

template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return {message, kAnyCode, 0, 0xFFFFu, handler};
}
// A click of a button or a menu command (notification code 0).
template <class T>
constexpr MessageEntry<T> OnCommand(UINT id, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return {WM_COMMAND, 0, id, id, handler};
}
template <class T>
constexpr MessageEntry<T> OnCommandRange(UINT first, UINT last, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return {WM_COMMAND, 0, first, last, handler};
}
template <class T>
constexpr MessageEntry<T> OnControlCode(UINT id, UINT code, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return {WM_COMMAND, code, id, id, handler};
}
template <class T>
constexpr MessageEntry<T> OnNotify(UINT id, UINT code, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return {WM_NOTIFY, code, id, id, handler};
}

// Finds the row for a message and calls its handler. False when no row matches.
template <class T>
bool DispatchMessageTable(T& self, std::span<const MessageEntry<T>> table, UINT message, WPARAM wp, LPARAM lp,
                          LRESULT& result) {
    UINT code = kAnyCode;
    UINT id = 0;
    if (message == WM_COMMAND) {
        code = HIWORD(wp);
        id = LOWORD(wp);
    } else if (message == WM_NOTIFY && lp != 0) {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        code = header->code;
        id = static_cast<UINT>(header->idFrom);
    }
    for (const auto& row : table) {
        if (row.message != message) continue;
        if (message == WM_COMMAND || message == WM_NOTIFY) {
            // Menu commands arrive with code 0 and accelerators with 1; both count as a click.
            const UINT rowCode = row.code;
            const bool codeMatches = rowCode == kAnyCode || rowCode == code || (rowCode == 0 && code == 1 && message == WM_COMMAND);
            if (!codeMatches || id < row.idFirst || id > row.idLast) continue;
        }
        result = (self.*row.handler)(wp, lp);
        return true;
    }
    return false;
}

}  // namespace kw::fw
