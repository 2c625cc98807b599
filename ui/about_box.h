#pragma once

#include <QDialog>

class CLinkLabel;

// The About box: what the program is, its version and who made it, with links to write to its
// developers (when the build names an address) and to the user guide.
class CAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutBox(QWidget* parent = nullptr);

    CLinkLabel* emailLink() const { return m_emailLink; }
    CLinkLabel* webLink() const { return m_webLink; }

private:
    CLinkLabel* m_emailLink = nullptr;
    CLinkLabel* m_webLink = nullptr;
};
