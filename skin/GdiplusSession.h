#pragma once
// GDI+ started for as long as this object lives. The application object holds one for the whole
// process; test programs hold their own.
#include <windows.h>

#include <cstdint>

namespace kw::skin {

class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool Started() const { return m_token != 0; }

private:
    ULONG_PTR m_token = 0;
};

}  // namespace kw::skin
