#include "player/player_command.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace {

using enum PlayerCommand;

constexpr auto kNo = CommandGroupStart::No;
constexpr auto kYes = CommandGroupStart::Yes;

constexpr std::array<PlayerCommandInfo, 22> kCommands{{
    {Open, QT_TRANSLATE_NOOP("PlayerCommand", "Open"), kNo},
    {SaveCurrentImage, QT_TRANSLATE_NOOP("PlayerCommand", "Save Current Image"), kNo},
    {Play, QT_TRANSLATE_NOOP("PlayerCommand", "Play"), kYes},
    {Stop, QT_TRANSLATE_NOOP("PlayerCommand", "Stop"), kNo},
    {Record, QT_TRANSLATE_NOOP("PlayerCommand", "Record"), kNo},
    {PeriodRecord, QT_TRANSLATE_NOOP("PlayerCommand", "Period Record"), kYes},
    {FirstFrame, QT_TRANSLATE_NOOP("PlayerCommand", "First Frame"), kYes},
    {PrevFrame, QT_TRANSLATE_NOOP("PlayerCommand", "Prev Frame"), kNo},
    {NextFrame, QT_TRANSLATE_NOOP("PlayerCommand", "Next Frame"), kNo},
    {LastFrame, QT_TRANSLATE_NOOP("PlayerCommand", "Last Frame"), kNo},
    {PrevKeyFrame, QT_TRANSLATE_NOOP("PlayerCommand", "Prev Key Frame"), kYes},
    {NextKeyFrame, QT_TRANSLATE_NOOP("PlayerCommand", "Next Key Frame"), kNo},
    {Position, QT_TRANSLATE_NOOP("PlayerCommand", "Position"), kNo},
    {StartPosition, QT_TRANSLATE_NOOP("PlayerCommand", "Start Position"), kYes},
    {EndPosition, QT_TRANSLATE_NOOP("PlayerCommand", "End Position"), kNo},
    {Scale, QT_TRANSLATE_NOOP("PlayerCommand", "Scale"), kYes},
    {Average, QT_TRANSLATE_NOOP("PlayerCommand", "Average"), kNo},
    {Option, QT_TRANSLATE_NOOP("PlayerCommand", "Option"), kYes},
    {Bitrate, QT_TRANSLATE_NOOP("PlayerCommand", "Bitrate"), kYes},
    {ContactSheet, QT_TRANSLATE_NOOP("PlayerCommand", "Contact Sheet"), kNo},
    {About, QT_TRANSLATE_NOOP("PlayerCommand", "About"), kYes},
    {Help, QT_TRANSLATE_NOOP("PlayerCommand", "Help"), kNo},
}};

constexpr std::array<KeyCommandInfo, 2> kKeyOnlyCommands{{
    {CopyImage, QT_TRANSLATE_NOOP("PlayerCommand", "Copy Image"), SaveCurrentImage},
    {FitOrFullSize, QT_TRANSLATE_NOOP("PlayerCommand", "Fit or Full Size"), std::nullopt},
}};

const char* untranslatedName(PlayerCommand command)
{
    const auto matches = [command](const auto& entry) { return entry.command == command; };
    const auto button = std::find_if(kCommands.begin(), kCommands.end(), matches);
    if (button != kCommands.end())
        return button->name;
    return std::find_if(kKeyOnlyCommands.begin(), kKeyOnlyCommands.end(), matches)->name;
}

QString nameWithKey(PlayerCommand command)
{
    const QList<QKeySequence> keys = commandShortcuts(command);
    if (keys.isEmpty())
        return commandName(command);
    return QStringLiteral("%1 (%2)").arg(commandName(command),
                                         keys.first().toString(QKeySequence::NativeText));
}

} // namespace

std::span<const PlayerCommandInfo> playerCommands()
{
    return kCommands;
}

std::span<const KeyCommandInfo> keyOnlyCommands()
{
    return kKeyOnlyCommands;
}

QString commandName(PlayerCommand command)
{
    return QCoreApplication::translate("PlayerCommand", untranslatedName(command));
}

QString commandIconPath(PlayerCommand command)
{
    return QStringLiteral(":/icons/%1.svg")
        .arg(QString::fromLatin1(untranslatedName(command)).toLower().replace(u' ', u'-'));
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
    case CopyImage:
        return {QKeySequence(Qt::CTRL | Qt::Key_C)};
    case FitOrFullSize:
        // As "actual size" in browsers and image viewers; not to be confused with Ctrl+O.
        return {QKeySequence(Qt::CTRL | Qt::Key_0)};
    case Option:
    case Scale:
    case Average:
    case Bitrate:
    case ContactSheet:
    case About:
        break;
    }
    return {};
}

QString commandToolTip(PlayerCommand command)
{
    QString tip = nameWithKey(command);
    for (const KeyCommandInfo& keyOnly : kKeyOnlyCommands) {
        if (keyOnly.namedInTipOf == command)
            tip += u'\n' + nameWithKey(keyOnly.command);
    }
    return tip;
}
