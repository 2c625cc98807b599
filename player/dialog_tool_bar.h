#pragma once

#include "player/player_command.h"

#include <QToolBar>

#include <functional>
#include <map>

class QAction;

// The control panel's tool bar: one button for each command, with the command's icon, its
// name as tool tip and its keys, and the actions of the commands that only have keys. The panel
// decides which commands are enabled.
class CDialogToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit CDialogToolBar(QWidget* parent = nullptr);

    QAction* action(PlayerCommand command) const { return m_actions.at(command); }
    // Every command's action, the ones without a button last.
    QList<QAction*> commandActions() const;

    // Enables each button by the rule; the keys of a disabled command do nothing.
    void updateCommands(const std::function<bool(PlayerCommand)>& isEnabled);

signals:
    void commandTriggered(PlayerCommand command);

private:
    QAction* makeAction(PlayerCommand command);

    std::map<PlayerCommand, QAction*> m_actions; // children of the tool bar
};
