#include "player/player_command.h"

#include <algorithm>
#include <array>

namespace {

using enum PlayerCommand;

constexpr auto kNo = CommandGroupStart::No;
constexpr auto kYes = CommandGroupStart::Yes;

constexpr std::array<PlayerCommandInfo, 21> kCommands{{
    {Open, "Open", kNo},
    {SaveCurrentImage, "Save Current Image", kNo},
    {Play, "Play", kYes},
    {Stop, "Stop", kNo},
    {Record, "Record", kNo},
    {PeriodRecord, "Period Record", kYes},
    {FirstFrame, "First Frame", kYes},
    {PrevFrame, "Prev Frame", kNo},
    {NextFrame, "Next Frame", kNo},
    {LastFrame, "Last Frame", kNo},
    {PrevKeyFrame, "Prev Key Frame", kYes},
    {NextKeyFrame, "Next Key Frame", kNo},
    {Position, "Position", kNo},
    {StartPosition, "Start Position", kYes},
    {EndPosition, "End Position", kNo},
    {Scale, "Scale", kYes},
    {Average, "Average", kNo},
    {Option, "Option", kYes},
    {Bitrate, "Bitrate", kYes},
    {About, "About", kYes},
    {Help, "Help", kNo},
}};

const PlayerCommandInfo& info(PlayerCommand command)
{
    return *std::find_if(
        kCommands.begin(), kCommands.end(),
        [command](const PlayerCommandInfo& entry) { return entry.command == command; });
}

} // namespace

std::span<const PlayerCommandInfo> playerCommands()
{
    return kCommands;
}

QString commandName(PlayerCommand command)
{
    return QString::fromLatin1(info(command).name);
}

QString commandIconPath(PlayerCommand command)
{
    return QStringLiteral(":/icons/%1.svg").arg(commandName(command).toLower().replace(u' ', u'-'));
}

QList<QKeySequence> commandShortcuts(PlayerCommand command)
{
    // The keys of video players and editors: Space plays and stops (only one of the two is
    // ever enabled), the arrows step, I and O (or [ and ]) mark the range.
    switch (command) {
    case Open:
        return {QKeySequence(Qt::CTRL | Qt::Key_O)};
    case SaveCurrentImage:
        return {QKeySequence(Qt::CTRL | Qt::Key_S)};
    case Play:
    case Stop:
        return {QKeySequence(Qt::Key_Space)};
    case Record:
        return {QKeySequence(Qt::CTRL | Qt::Key_R)};
    case PeriodRecord:
        return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)};
    case FirstFrame:
        return {QKeySequence(Qt::Key_Home)};
    case PrevFrame:
        return {QKeySequence(Qt::Key_Left)};
    case NextFrame:
        return {QKeySequence(Qt::Key_Right)};
    case LastFrame:
        return {QKeySequence(Qt::Key_End)};
    case PrevKeyFrame:
        return {QKeySequence(Qt::Key_PageUp)};
    case NextKeyFrame:
        return {QKeySequence(Qt::Key_PageDown)};
    case Position:
        return {QKeySequence(Qt::CTRL | Qt::Key_G)};
    case StartPosition:
        return {QKeySequence(Qt::Key_I), QKeySequence(Qt::Key_BracketLeft)};
    case EndPosition:
        return {QKeySequence(Qt::Key_O), QKeySequence(Qt::Key_BracketRight)};
    case Help:
        return {QKeySequence(Qt::Key_F1)};
    case Option:
    case Scale:
    case Average:
    case Bitrate:
    case About:
        break;
    }
    return {};
}

QString commandToolTip(PlayerCommand command)
{
    const QList<QKeySequence> keys = commandShortcuts(command);
    if (keys.isEmpty())
        return commandName(command);
    return QStringLiteral("%1 (%2)").arg(commandName(command),
                                         keys.first().toString(QKeySequence::NativeText));
}
