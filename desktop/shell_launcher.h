#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QUrl;

// The two ways the program hands something to the desktop. The base class does it for real;
// tests derive from it to record what would have been started.
class ShellLauncher
{
public:
    // Called once the desktop has tried to open something and found nothing that could.
    using Refusal = std::function<void()>;

    virtual ~ShellLauncher() = default;

    // Opens a file or link with the program the desktop associates with it. False when the
    // desktop has no way of opening anything; true does not mean that something opened it,
    // which the desktop may tell only later, through refused.
    virtual bool openUrl(const QUrl& url, const Refusal& refused = {}) const;
    // Starts program on its own, not as a child that ends with this program.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingFolder) const;
};
