#pragma once
// The application object: resolves the paths beside the executable, opens the program's registry
// key, creates the two configuration stores and runs the main window for the whole life of the
// process.
#include "app/ProgramPaths.h"
#include "framework/RegKey.h"
#include "framework/WinApp.h"
#include "model/ConfigStore.h"

#include <memory>

namespace kw::app {

inline constexpr const wchar_t* kRegistryRoot = L"Keyweave_Quorvan";
// Four blanks between the brand word and the model code; the user data folder has the same name.
inline constexpr const wchar_t* kProgramKeyName = L"Software\\Tarvelin    VX73LMN-5 V2";

class GdiplusSession;

class CKeyweaveApp final : public fw::CWinApp {
public:
    CKeyweaveApp();
    ~CKeyweaveApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override { return m_exitCode; }

    const ProgramPaths& Paths() const { return m_paths; }
    model::ConfigStore& WorkingStore() { return *m_workingStore; }
    model::ConfigStore& AppliedStore() { return *m_appliedStore; }
    const fw::RegKey& ProgramKey() const { return m_programKey; }

private:
    std::unique_ptr<GdiplusSession> m_gdiplus;
    ProgramPaths m_paths;
    fw::RegKey m_programKey;
    std::unique_ptr<model::ConfigStore> m_workingStore;
    std::unique_ptr<model::ConfigStore> m_appliedStore;
    int m_exitCode = 0;
};

}  // namespace kw::app
