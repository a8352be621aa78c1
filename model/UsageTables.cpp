// Consumer-page usages: the firmware's media codes 0xC0 + n, and the editors' multimedia pick list.
#include "model/KeyCatalogue.h"

namespace kw::model {

// Entry n is the usage of device usage 0xC0 + n.
constinit const std::array<std::uint16_t, 32> ConsumerUsageTable{{
    0x00E9,  // 0 Volume Up
    0x00EA,  // 1 Volume Down
    0x0183,  // 2 media player
    0x018A,  // 3 mail
    0x0192,  // 4 calculator
    0x0194,  // 5 my computer
    0x0221,  // 6 search
    0x0223,  // 7 home
    0x0224,  // 8 back
    0x0225,  // 9 forward
    0x0226,  // 10 stop
    0x0227,  // 11 refresh
    0x022A,  // 12 bookmarks
    0x00E2,  // 13 mute
    0x00CD,  // 14 play/pause
    0x00B7,  // 15 stop
    0x00B6,  // 16 previous track
    0x00B5,  // 17 next track
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
}};

// Consumer usage, key id, name id; position n is what a multimedia assignment stores.
constinit const std::array<MediaUsage, kMediaPositions> MediaUsageTable{{
    {0x0183, 0x16D, L"MEDIA_PALYER_1"},
    {0x00CD, 0x122, L"MEDIA_PALY_PAUSE_2"},
    {0x00B7, 0x124, L"MEDIA_STOP_PALY_3"},
    {0x00B6, 0x110, L"MEDIA_PREV_TRACK_4"},
    {0x00B5, 0x119, L"MEDIA_Next_TRACK_5"},
    {0x00EA, 0x12E, L"MEDIA_V_LOW_6"},
    {0x00E9, 0x130, L"MEDIA_V_ADD_7"},
    {0x00E2, 0x120, L"MEDIA_MUTE_8"},
    {0x0223, 0x132, L"MEDIA_WWW_HOME_9"},
    {0x0227, 0x167, L"MEDIA_WWW_REFRESH_10"},
    {0x0226, 0x168, L"MEDIA_WWW_STOP_11"},
    {0x0224, 0x16A, L"MEDIA_WWW_BACK_12"},
    {0x0225, 0x169, L"MEDIA_WWW_FORWARD_13"},
    {0x022A, 0x166, L"MEDIA_WWW_FAVORITE_14"},
    {0x0221, 0x165, L"MEDIA_WWW_SEARCH_15"},
    {0x0194, 0x16B, L"MEDIA_MY_PC_16"},
    {0x0192, 0x121, L"MEDIA_CALC_17"},
    {0x018A, 0x16C, L"MEDIA_MAIL_18"},
}};

}  // namespace kw::model
