#include "ui/about_box.h"

#include "clipmint_build.h"
#include "ui/help_file.h"
#include "ui/link_label.h"

#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace {

QLabel* rightAligned(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// The guide where Help would find it; where it ought to be when it is missing, so that the
// link then says that the file was not found.
QString guideUrl()
{
    QString path = FindHelpFile(programDataFolders());
    if (path.isEmpty())
        path = QDir(QCoreApplication::applicationDirPath())
                   .filePath(QString::fromLatin1(kHelpFileName));
    return QUrl::fromLocalFile(path).toString();
}

} // namespace

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(tr("About Clipmint"));

    auto* product = new QLabel(tr("Clipmint: still images from video files\n"
                                  "Clipmint for Linux version %1")
                                   .arg(QString::fromLatin1(kClipmintVersion)),
                               this);
    product->setObjectName(QStringLiteral("productLine"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/clipmint.svg")).pixmap(32, 32));

    const QString email = QString::fromUtf8(kClipmintContactEmail);
    m_emailLink = new CLinkLabel(email, QStringLiteral("mailto:") + email, this);
    m_emailLink->setObjectName(QStringLiteral("emailLink"));
    m_webLink = new CLinkLabel(tr("Clipmint user guide"), guideUrl(), this);
    m_webLink->setObjectName(QStringLiteral("webLink"));
    auto* emailCaption = rightAligned(tr("Email:"), this);
    emailCaption->setVisible(!email.isEmpty());
    m_emailLink->setVisible(!email.isEmpty());

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->addWidget(product, 0, 0, 1, 4);
    grid->addWidget(new QLabel(tr("Takes still images out of video files."), this), 1, 0, 1, 4);
    grid->addWidget(icon, 2, 0, 2, 1, Qt::AlignCenter);
    grid->addWidget(rightAligned(tr("Author:"), this), 2, 1);
    grid->addWidget(new QLabel(tr("Clipmint developers"), this), 2, 2);
    grid->addWidget(ok, 2, 3);
    grid->addWidget(emailCaption, 3, 1);
    grid->addWidget(m_emailLink, 3, 2);
    grid->addWidget(new QLabel(tr("Frames are read with FFmpeg; pictures are written\n"
                                  "with libjpeg-turbo, libpng and zlib, and shown\n"
                                  "with Qt."),
                               this),
                    4, 1, 1, 3);
    grid->addWidget(new QLabel(tr("Read the user guide:"), this), 5, 0, 1, 2);
    grid->addWidget(m_webLink, 5, 2, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}
