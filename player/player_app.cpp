#include "player/player_app.h"

#include "clipmint_build.h"
#include "player/control_panel_dlg.h"
#include "player/video_window_dlg.h"

#include <cstdio>
#include <filesystem>

CPlayerApp::CPlayerApp(const std::filesystem::path& executablePath)
    : m_settings(CSettings::BuildIniPath(executablePath, kClipmintProgramFolder))
{}

CPlayerApp::~CPlayerApp() = default;

bool CPlayerApp::InitInstance(const std::string& videoPath)
{
    m_settings.LoadOptions();
    // Said once, where whoever started the program from a terminal sees it.
    if (const std::string& refusal = m_settings.iniFile().readRefusal(); !refusal.empty())
        std::fprintf(stderr, "clipmint: %s; the defaults apply\n", refusal.c_str());
    m_mainWindow = std::make_unique<CVideoWindowDlg>(m_settings);
    m_mainWindow->show();
    if (!videoPath.empty()) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(videoPath, error);
        m_mainWindow->panel()->openChosenVideo(error ? videoPath : absolute.string());
    }
    return true;
}
