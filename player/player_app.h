#pragma once

#include "settings/settings.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <string>

class CVideoWindowDlg;

// The program as a whole: the settings of the executable, and the video window, which brings
// the control panel with it. The event loop belongs to the caller's QApplication; it ends when
// the video window has closed.
class CPlayerApp
{
public:
    // The settings file is the one that belongs to the executable at executablePath.
    explicit CPlayerApp(const std::filesystem::path& executablePath);
    ~CPlayerApp();
    CPlayerApp(const CPlayerApp&) = delete;
    CPlayerApp& operator=(const CPlayerApp&) = delete;

    // Loads the options, shows both windows and opens videoPath when one is given (from a
    // file manager's "Open with", say), in the file system's own bytes. A video that can't be
    // opened is reported and the program goes on without one. False when the windows could not
    // be made.
    bool InitInstance(const std::string& videoPath = {});

    CVideoWindowDlg* mainWindow() const { return m_mainWindow.get(); }
    CSettings& settings() { return m_settings; }

private:
    CSettings m_settings;
    std::unique_ptr<CVideoWindowDlg> m_mainWindow;
};
