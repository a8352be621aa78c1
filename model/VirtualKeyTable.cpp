// Virtual-key codes to catalogue keys. Flag 1: a key of the catalogue (the generic Shift, Ctrl and
// Alt codes give the left-hand keys); flag 15: a code the program does not support; flag 0 with a
// spare mark: the private codes the catalogue gives to its pointer and application actions, whose
// index byte is no key index; all zero: no key.
#include "model/KeyCatalogue.h"

namespace kw::model {

// Flag, spare, index; addressed by VK.
constinit const std::array<VirtualKeyEntry, 256> VirtualKeyTable{{
    {1, 0, 0},  // 0x00 no key
    {15, 0, 0},  // 0x01 unsupported
    {15, 0, 0},  // 0x02 unsupported
    {1, 0, 198},  // 0x03 Break
    {15, 0, 0},  // 0x04 unsupported
    {15, 0, 0},  // 0x05 unsupported
    {15, 0, 0},  // 0x06 unsupported
    {0, 0, 0},  // 0x07 no key
    {1, 0, 14},  // 0x08 Backspace
    {1, 0, 15},  // 0x09 Tab
    {0, 0, 0},  // 0x0A no key
    {0, 0, 0},  // 0x0B no key
    {15, 0, 0},  // 0x0C unsupported
    {1, 0, 28},  // 0x0D Enter
    {0, 0, 0},  // 0x0E no key
    {0, 0, 0},  // 0x0F no key
    {1, 0, 42},  // 0x10 VK_SHIFT: left Shift
    {1, 0, 29},  // 0x11 VK_CONTROL: left Ctrl
    {1, 0, 56},  // 0x12 VK_MENU: left Alt
    {1, 0, 69},  // 0x13 Pause
    {1, 0, 58},  // 0x14 Caps Lock
    {15, 0, 0},  // 0x15 unsupported
    {0, 0, 0},  // 0x16 no key
    {15, 0, 0},  // 0x17 unsupported
    {15, 0, 0},  // 0x18 unsupported
    {15, 0, 0},  // 0x19 unsupported
    {0, 0, 0},  // 0x1A no key
    {1, 0, 1},  // 0x1B Esc
    {15, 0, 0},  // 0x1C unsupported
    {15, 0, 0},  // 0x1D unsupported
    {15, 0, 0},  // 0x1E unsupported
    {15, 0, 0},  // 0x1F unsupported
    {1, 0, 57},  // 0x20 Space
    {1, 0, 201},  // 0x21 Page Up
    {1, 0, 209},  // 0x22 Page Down
    {1, 0, 207},  // 0x23 End
    {1, 0, 199},  // 0x24 Home
    {1, 0, 203},  // 0x25 \u2190
    {1, 0, 200},  // 0x26 \u2191
    {1, 0, 205},  // 0x27 \u2192
    {1, 0, 208},  // 0x28 \u2193
    {15, 0, 0},  // 0x29 unsupported
    {15, 0, 0},  // 0x2A unsupported
    {15, 0, 0},  // 0x2B unsupported
    {1, 0, 183},  // 0x2C Print Screen (Sys Req shares the VK; the key on the keyboard wins)
    {1, 0, 210},  // 0x2D Insert
    {1, 0, 211},  // 0x2E Delete
    {15, 0, 0},  // 0x2F unsupported
    {1, 0, 11},  // 0x30 0
    {1, 0, 2},  // 0x31 1
    {1, 0, 3},  // 0x32 2
    {1, 0, 4},  // 0x33 3
    {1, 0, 5},  // 0x34 4
    {1, 0, 6},  // 0x35 5
    {1, 0, 7},  // 0x36 6
    {1, 0, 8},  // 0x37 7
    {1, 0, 9},  // 0x38 8
    {1, 0, 10},  // 0x39 9
    {0, 0, 0},  // 0x3A no key
    {0, 0, 0},  // 0x3B no key
    {0, 0, 0},  // 0x3C no key
    {0, 0, 0},  // 0x3D no key
    {0, 0, 0},  // 0x3E no key
    {0, 0, 0},  // 0x3F no key
    {0, 0, 0},  // 0x40 no key
    {1, 0, 30},  // 0x41 A
    {1, 0, 48},  // 0x42 B
    {1, 0, 46},  // 0x43 C
    {1, 0, 32},  // 0x44 D
    {1, 0, 18},  // 0x45 E
    {1, 0, 33},  // 0x46 F
    {1, 0, 34},  // 0x47 G
    {1, 0, 35},  // 0x48 H
    {1, 0, 23},  // 0x49 I
    {1, 0, 36},  // 0x4A J
    {1, 0, 37},  // 0x4B K
    {1, 0, 38},  // 0x4C L
    {1, 0, 50},  // 0x4D M
    {1, 0, 49},  // 0x4E N
    {1, 0, 24},  // 0x4F O
    {1, 0, 25},  // 0x50 P
    {1, 0, 16},  // 0x51 Q
    {1, 0, 19},  // 0x52 R
    {1, 0, 31},  // 0x53 S
    {1, 0, 20},  // 0x54 T
    {1, 0, 22},  // 0x55 U
    {1, 0, 47},  // 0x56 V
    {1, 0, 17},  // 0x57 W
    {1, 0, 45},  // 0x58 X
    {1, 0, 21},  // 0x59 Y
    {1, 0, 44},  // 0x5A Z
    {1, 0, 219},  // 0x5B Win
    {1, 0, 220},  // 0x5C Right Win
    {1, 0, 221},  // 0x5D App
    {0, 0, 0},  // 0x5E no key
    {1, 0, 223},  // 0x5F Sleep
    {1, 0, 82},  // 0x60 Num 0
    {1, 0, 79},  // 0x61 Num 1
    {1, 0, 80},  // 0x62 Num 2
    {1, 0, 81},  // 0x63 Num 3
    {1, 0, 75},  // 0x64 Num 4
    {1, 0, 76},  // 0x65 Num 5
    {1, 0, 77},  // 0x66 Num 6
    {1, 0, 71},  // 0x67 Num 7
    {1, 0, 72},  // 0x68 Num 8
    {1, 0, 73},  // 0x69 Num 9
    {1, 0, 55},  // 0x6A Num *
    {1, 0, 78},  // 0x6B Num +
    {15, 0, 0},  // 0x6C unsupported
    {1, 0, 74},  // 0x6D Num -
    {1, 0, 83},  // 0x6E Num .
    {1, 0, 181},  // 0x6F Num /
    {1, 0, 59},  // 0x70 F1
    {1, 0, 60},  // 0x71 F2
    {1, 0, 61},  // 0x72 F3
    {1, 0, 62},  // 0x73 F4
    {1, 0, 63},  // 0x74 F5
    {1, 0, 64},  // 0x75 F6
    {1, 0, 65},  // 0x76 F7
    {1, 0, 66},  // 0x77 F8
    {1, 0, 67},  // 0x78 F9
    {1, 0, 68},  // 0x79 F10
    {1, 0, 87},  // 0x7A F11
    {1, 0, 88},  // 0x7B F12
    {1, 0, 100},  // 0x7C F13
    {15, 0, 0},  // 0x7D unsupported
    {15, 0, 0},  // 0x7E unsupported
    {15, 0, 0},  // 0x7F unsupported
    {15, 0, 0},  // 0x80 unsupported
    {15, 0, 0},  // 0x81 unsupported
    {15, 0, 0},  // 0x82 unsupported
    {15, 0, 0},  // 0x83 unsupported
    {15, 0, 0},  // 0x84 unsupported
    {15, 0, 0},  // 0x85 unsupported
    {15, 0, 0},  // 0x86 unsupported
    {15, 0, 0},  // 0x87 unsupported
    {0, 1, 0},  // 0x88 private action VK: Pan Left
    {0, 1, 0},  // 0x89 private action VK: Pan Right
    {0, 1, 0},  // 0x8A private action VK: Double Click
    {0, 1, 210},  // 0x8B private action VK: Zoom-
    {0, 1, 211},  // 0x8C private action VK: Zoom+
    {0, 0, 0},  // 0x8D no key
    {0, 0, 0},  // 0x8E no key
    {0, 0, 0},  // 0x8F no key
    {1, 0, 197},  // 0x90 Num Lock
    {1, 0, 70},  // 0x91 Scroll Lock
    {15, 0, 0},  // 0x92 unsupported
    {15, 0, 0},  // 0x93 unsupported
    {15, 0, 0},  // 0x94 unsupported
    {15, 0, 0},  // 0x95 unsupported
    {15, 0, 0},  // 0x96 unsupported
    {0, 1, 0},  // 0x97 private action VK: Copy
    {0, 1, 0},  // 0x98 private action VK: Cut
    {0, 1, 0},  // 0x99 private action VK: Paste
    {0, 1, 0},  // 0x9A private action VK: Minimize
    {0, 1, 0},  // 0x9B private action VK: Maximize
    {0, 1, 212},  // 0x9C private action VK: Word
    {0, 1, 213},  // 0x9D private action VK: Excel
    {0, 1, 0},  // 0x9E private action VK: PowerPoint
    {0, 1, 0},  // 0x9F private action VK: Calendar
    {1, 0, 42},  // 0xA0 Shift
    {1, 0, 54},  // 0xA1 Right Shift
    {1, 0, 29},  // 0xA2 Ctrl
    {1, 0, 157},  // 0xA3 Right Ctrl
    {1, 0, 56},  // 0xA4 Alt
    {1, 0, 184},  // 0xA5 Right Alt
    {1, 0, 234},  // 0xA6 WWW Back
    {1, 0, 233},  // 0xA7 WWW Forward
    {1, 0, 231},  // 0xA8 WWW Refresh
    {1, 0, 232},  // 0xA9 WWW Stop
    {1, 0, 229},  // 0xAA WWW Search
    {1, 0, 230},  // 0xAB WWW Favorite
    {1, 0, 178},  // 0xAC WWW Home
    {1, 0, 160},  // 0xAD Mute
    {1, 0, 174},  // 0xAE V-
    {1, 0, 176},  // 0xAF V+
    {1, 0, 153},  // 0xB0 Next Track
    {1, 0, 144},  // 0xB1 Prev Track
    {1, 0, 164},  // 0xB2 Stop Play
    {1, 0, 162},  // 0xB3 Play/Pause
    {1, 0, 236},  // 0xB4 Mail
    {1, 0, 237},  // 0xB5 Media Player
    {1, 0, 235},  // 0xB6 My PC
    {1, 0, 161},  // 0xB7 Calc
    {0, 0, 0},  // 0xB8 no key
    {0, 0, 0},  // 0xB9 no key
    {1, 0, 39},  // 0xBA ;
    {1, 0, 13},  // 0xBB =
    {1, 0, 51},  // 0xBC ,
    {1, 0, 12},  // 0xBD -
    {1, 0, 52},  // 0xBE .
    {1, 0, 53},  // 0xBF /
    {1, 0, 41},  // 0xC0 Grave accent
    {1, 0, 115},  // 0xC1 K56
    {1, 0, 126},  // 0xC2 K107
    {0, 0, 0},  // 0xC3 no key
    {0, 0, 0},  // 0xC4 no key
    {0, 0, 0},  // 0xC5 no key
    {0, 0, 0},  // 0xC6 no key
    {0, 0, 0},  // 0xC7 no key
    {0, 0, 0},  // 0xC8 no key
    {0, 0, 0},  // 0xC9 no key
    {0, 0, 0},  // 0xCA no key
    {0, 0, 0},  // 0xCB no key
    {0, 0, 0},  // 0xCC no key
    {0, 0, 0},  // 0xCD no key
    {0, 0, 0},  // 0xCE no key
    {0, 0, 0},  // 0xCF no key
    {0, 0, 0},  // 0xD0 no key
    {1, 0, 225},  // 0xD1 Roll Up
    {1, 0, 226},  // 0xD2 Roll Down
    {0, 0, 0},  // 0xD3 no key
    {0, 0, 0},  // 0xD4 no key
    {0, 0, 0},  // 0xD5 no key
    {0, 0, 0},  // 0xD6 no key
    {0, 0, 0},  // 0xD7 no key
    {0, 0, 0},  // 0xD8 no key
    {0, 0, 0},  // 0xD9 no key
    {0, 0, 0},  // 0xDA no key
    {1, 0, 26},  // 0xDB [
    {1, 0, 43},  // 0xDC Backslash
    {1, 0, 27},  // 0xDD ]
    {1, 0, 40},  // 0xDE '
    {15, 0, 0},  // 0xDF unsupported
    {0, 0, 0},  // 0xE0 no key
    {15, 0, 0},  // 0xE1 unsupported
    {1, 0, 86},  // 0xE2 K45
    {15, 0, 0},  // 0xE3 unsupported
    {15, 0, 0},  // 0xE4 unsupported
    {15, 0, 0},  // 0xE5 unsupported
    {15, 0, 0},  // 0xE6 unsupported
    {15, 0, 0},  // 0xE7 unsupported
    {0, 0, 0},  // 0xE8 no key
    {1, 0, 113},  // 0xE9 KL
    {15, 0, 0},  // 0xEA unsupported
    {1, 0, 123},  // 0xEB N-CHG (131)
    {15, 0, 0},  // 0xEC unsupported
    {15, 0, 0},  // 0xED unsupported
    {15, 0, 0},  // 0xEE unsupported
    {15, 0, 0},  // 0xEF unsupported
    {15, 0, 0},  // 0xF0 unsupported
    {15, 0, 0},  // 0xF1 unsupported
    {15, 0, 0},  // 0xF2 unsupported
    {15, 0, 0},  // 0xF3 unsupported
    {15, 0, 0},  // 0xF4 unsupported
    {15, 0, 0},  // 0xF5 unsupported
    {15, 0, 0},  // 0xF6 unsupported
    {15, 0, 0},  // 0xF7 unsupported
    {15, 0, 0},  // 0xF8 unsupported
    {15, 0, 0},  // 0xF9 unsupported
    {15, 0, 0},  // 0xFA unsupported
    {15, 0, 0},  // 0xFB unsupported
    {15, 0, 0},  // 0xFC unsupported
    {15, 0, 0},  // 0xFD unsupported
    {15, 0, 0},  // 0xFE unsupported
    {1, 0, 0},  // 0xFF no key
}};

}  // namespace kw::model
