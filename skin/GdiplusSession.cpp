#include "skin/GdiplusSession.h"

#include <gdiplus.h>

namespace kw::skin {

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
}

GdiplusSession::~GdiplusSession() {
    if (m_token) Gdiplus::GdiplusShutdown(m_token);
}

}  // namespace kw::skin
