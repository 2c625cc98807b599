#include "player/dialog_tool_bar.h"

#include <QAction>
#include <QIcon>

CDialogToolBar::CDialogToolBar(QWidget* parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("commandToolBar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const PlayerCommandInfo& info : playerCommands()) {
        if (info.groupStart == CommandGroupStart::Yes)
            addSeparator();
        const PlayerCommand command = info.command;
        QAction* action = addAction(QIcon(commandIconPath(command)), commandName(command));
        action->setObjectName(commandName(command));
        action->setToolTip(commandToolTip(command));
        action->setShortcuts(commandShortcuts(command));
        // The keys work in the video window too, which carries the same actions.
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this,
                [this, command] { emit commandTriggered(command); });
        m_actions[command] = action;
    }
}

QList<QAction*> CDialogToolBar::commandActions() const
{
    QList<QAction*> actions;
    for (const PlayerCommandInfo& info : playerCommands())
        actions << m_actions.at(info.command);
    return actions;
}

void CDialogToolBar::updateCommands(const std::function<bool(PlayerCommand)>& isEnabled)
{
    for (const auto& [command, action] : m_actions)
        action->setEnabled(isEnabled(command));
}
