#include "started_player.h"

#include "player/dialog_tool_bar.h"

#include <QAction>
#include <QDir>
#include <QFile>

StartedPlayer::StartedPlayer(const QString& video)
    : m_app(std::make_unique<CPlayerApp>(m_dir.path() / "clipmint"))
{
    m_app->InitInstance(QFile::encodeName(video).toStdString());
}

QAction* StartedPlayer::action(PlayerCommand command) const
{
    return panel().toolBar()->action(command);
}

void StartedPlayer::trigger(PlayerCommand command) const
{
    action(command)->trigger();
}

QStringList StartedPlayer::enabledCommands() const
{
    QStringList names;
    for (const PlayerCommandInfo& info : playerCommands()) {
        if (action(info.command)->isEnabled())
            names << commandName(info.command);
    }
    return names;
}

InsideLoop::InsideLoop(std::function<bool()> condition, std::function<void()> action)
{
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this, condition, action] {
        if (!condition())
            return;
        m_timer.stop();
        m_ran = true;
        action();
    });
    m_timer.start();
}

QString demoVideo()
{
    return QStringLiteral(CLIPMINT_DEMO_VIDEO);
}

QString qPath(const std::string& path)
{
    return QString::fromStdString(path);
}

QStringList fileNames(const std::string& folder)
{
    return QDir(qPath(folder)).entryList(QDir::Files, QDir::Name);
}
