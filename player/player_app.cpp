#include "player/player_app.h"

#include "player/control_panel_dlg.h"
#include "player/video_window_dlg.h"

#include <QFileInfo>

CPlayerApp::CPlayerApp(const std::filesystem::path& executablePath)
    : m_settings(CSettings::BuildIniPath(executablePath))
{}

CPlayerApp::~CPlayerApp() = default;

bool CPlayerApp::InitInstance(const QString& videoPath)
{
    m_settings.LoadOptions();
    m_mainWindow = std::make_unique<CVideoWindowDlg>(m_settings);
    m_mainWindow->show();
    if (!videoPath.isEmpty())
        m_mainWindow->panel()->openChosenVideo(QFileInfo(videoPath).absoluteFilePath());
    return true;
}
