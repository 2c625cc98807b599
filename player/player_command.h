#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <optional>
#include <span>

// The commands of the control panel's tool bar, by their command numbers.
enum class PlayerCommand
{
    Open = 32771,
    SaveCurrentImage = 32772,
    Play = 32773,
    Stop = 32774,
    Record = 32775,
    FirstFrame = 32776,
    PrevFrame = 32778,
    NextFrame = 32779,
    LastFrame = 32780,
    NextKeyFrame = 32782,
    PrevKeyFrame = 32783,
    StartPosition = 32786,
    EndPosition = 32788,
    Option = 32789,
    Position = 32790,
    Scale = 32791,
    Average = 32792,
    About = 32793,
    Help = 32794,
    PeriodRecord = 32795,
    Bitrate = 32796,
    ContactSheet = 32799,
    // Commands with keys but no button.
    CopyImage = 32797,
    FitOrFullSize = 32798,
};

// Where a command sits on the tool bar.
enum class CommandGroupStart
{
    No,
    Yes, // a separator comes before the command
};

struct PlayerCommandInfo
{
    PlayerCommand command;
    // The name, translated for the tool tip; the icon is ":/icons/<name in lower case, '-' for
    // ' '>.svg".
    const char* name;
    CommandGroupStart groupStart;
};

// A command that has keys but no button. Its key is named in the tool tip of the button it
// belongs with, when it has one.
struct KeyCommandInfo
{
    PlayerCommand command;
    const char* name; // translated like the buttons' names
    std::optional<PlayerCommand> namedInTipOf;
};

// Every command of the tool bar, in tool-bar order.
std::span<const PlayerCommandInfo> playerCommands();
// The commands that only have keys.
std::span<const KeyCommandInfo> keyOnlyCommands();

QString commandName(PlayerCommand command);
QString commandIconPath(PlayerCommand command);
// The keys that run the command from either window; the first is the one the tool tip names.
QList<QKeySequence> commandShortcuts(PlayerCommand command);
// The name, followed by the first key in parentheses when the command has one: "Play (Space)";
// then, a line each, the key-only commands that belong with it: "Copy Image (Ctrl+C)".
QString commandToolTip(PlayerCommand command);
