#pragma once

#include <QString>
#include <QStringList>

class QUrl;

// The two ways the program hands something to the desktop. The base class does it for real;
// tests derive from it to record what would have been started.
class ShellLauncher
{
public:
    virtual ~ShellLauncher() = default;

    // Opens a file or link with the program the desktop associates with it.
    virtual bool openUrl(const QUrl& url) const;
    // Starts program on its own, not as a child that ends with this program.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingFolder) const;
};
