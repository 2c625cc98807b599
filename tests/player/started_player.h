#pragma once

#include "player/control_panel_dlg.h"
#include "player/player_app.h"
#include "player/player_command.h"
#include "player/video_window_dlg.h"
#include "support/temp_dir.h"

#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

class QAction;

// The program as a person starts it, with its settings file in a fresh temporary folder (the
// executable is taken to live there) and both windows shown.
class StartedPlayer
{
public:
    explicit StartedPlayer(const QString& video = {});

    CVideoWindowDlg& window() const { return *m_app->mainWindow(); }
    CControlPanelDlg& panel() const { return *window().panel(); }
    CFrameSource& source() const { return panel().source(); }
    CSettings& settings() { return m_app->settings(); }
    const TempDir& dir() const { return m_dir; }
    std::string iniPath() const { return m_dir.file("clipmint.ini"); }

    QAction* action(PlayerCommand command) const;
    // Presses the tool button's action, as a click on it would.
    void trigger(PlayerCommand command) const;
    // The names of the enabled tool-bar commands, in tool-bar order.
    QStringList enabledCommands() const;
    QString text(FrameTextControl control) const { return panel().frameText(control); }

private:
    TempDir m_dir;
    std::unique_ptr<CPlayerApp> m_app;
};

// Runs an action from inside whatever is running, a playback or a recording say, as soon as
// a condition holds: its timer is served by the loop's own event handling. The action runs
// once.
class InsideLoop
{
public:
    InsideLoop(std::function<bool()> condition, std::function<void()> action);
    bool ran() const { return m_ran; }

private:
    QTimer m_timer;
    bool m_ran = false;
};

// The bundled demo clip: 250 frames of 320x240 at 25 frames a second.
QString demoVideo();
QString qPath(const std::string& path);
// The names of the files in folder, sorted.
QStringList fileNames(const std::string& folder);
