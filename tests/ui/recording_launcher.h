#pragma once

#include "desktop/shell_launcher.h"

#include <QList>
#include <QStringList>
#include <QTimer>
#include <QUrl>

// Records what would have been started instead of starting it.
class RecordingLauncher : public ShellLauncher
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        QString workingFolder;
    };

    enum class Outcome
    {
        Starts,
        Fails,
        Refuses, // the desktop's opener starts, then finds nothing to open the file with
    };

    explicit RecordingLauncher(Outcome programs = Outcome::Starts,
                               Outcome desktop = Outcome::Starts)
        : m_programs(programs), m_desktop(desktop)
    {}

    bool openUrl(const QUrl& url, const Refusal& refused) const override
    {
        opened << url;
        // The desktop's answer comes later, once the event loop runs again.
        if (m_desktop == Outcome::Refuses && refused)
            QTimer::singleShot(0, refused);
        return m_desktop != Outcome::Fails;
    }
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingFolder) const override
    {
        started << Start{program, arguments, workingFolder};
        return m_programs == Outcome::Starts;
    }

    mutable QList<QUrl> opened;
    mutable QList<Start> started;

private:
    Outcome m_programs;
    Outcome m_desktop;
};
