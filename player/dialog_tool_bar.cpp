#include "player/dialog_tool_bar.h"

#include <QAction>
#include <QIcon>

CDialogToolBar::CDialogToolBar(QWidget* parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("commandToolBar"));
    setMovable(false);
    setFloatable(false);
    // Logical pixels: the SVG icons are drawn afresh for the screen's pixel density.
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const PlayerCommandInfo& info : playerCommands()) {
        if (info.groupStart == CommandGroupStart::Yes)
            addSeparator();
        QAction* action = makeAction(info.command);
        action->setIcon(QIcon(commandIconPath(info.command)));
        addAction(action);
    }
    // Commands without a button are actions of the tool bar too, shown nowhere; the windows
    // carry them for their keys.
    for (const KeyCommandInfo& info : keyOnlyCommands())
        makeAction(info.command);
}

QAction* CDialogToolBar::makeAction(PlayerCommand command)
{
    auto* action = new QAction(commandName(command), this);
    action->setObjectName(commandName(command));
    action->setToolTip(commandToolTip(command));
    action->setShortcuts(commandShortcuts(command));
    // The keys work in the video window too, which carries the same actions.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, command] { emit commandTriggered(command); });
    m_actions[command] = action;
    return action;
}

QList<QAction*> CDialogToolBar::commandActions() const
{
    QList<QAction*> actions;
    for (const PlayerCommandInfo& info : playerCommands())
        actions << m_actions.at(info.command);
    for (const KeyCommandInfo& info : keyOnlyCommands())
        actions << m_actions.at(info.command);
    return actions;
}

void CDialogToolBar::updateCommands(const std::function<bool(PlayerCommand)>& isEnabled)
{
    for (const auto& [command, action] : m_actions)
        action->setEnabled(isEnabled(command));
}
