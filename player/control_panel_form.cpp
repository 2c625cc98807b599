#include "player/control_panel_dlg.h"

#include "player/dialog_tool_bar.h"
#include "player/frame_slider.h"
#include "player/recent_videos_menu.h"
#include "settings/settings.h"
#include "ui/caption_label.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

// The panel's controls and where they sit: the tool bar, the slider, the target folder's row
// and the grid of frame numbers with the Save and Load buttons.

void CControlPanelDlg::buildForm()
{
    m_toolBar = new CDialogToolBar(this);
    connect(m_toolBar, &CDialogToolBar::commandTriggered, this, &CControlPanelDlg::runCommand);
    addRecentVideosMenu();
    m_slider = new CFrameSlider(this);
    connect(m_slider, &CFrameSlider::thumbTracked, this, &CControlPanelDlg::onThumbTracked);
    connect(m_slider, &CFrameSlider::channelClicked, this, &CControlPanelDlg::onChannelClicked);
    connect(m_slider, &CFrameSlider::leftButtonReleased, this, &CControlPanelDlg::onSliderReleased);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* form = new QVBoxLayout;
    form->setContentsMargins(6, 0, 6, 6);
    form->setSpacing(4);
    form->addWidget(m_slider);
    form->addLayout(buildFolderRow());
    form->addLayout(buildFrameGrid());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(line);
    layout->addLayout(form);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CControlPanelDlg::addRecentVideosMenu()
{
    // The Open button gets an arrow beside it that drops the list down.
    auto* open = qobject_cast<QToolButton*>(
        m_toolBar->widgetForAction(m_toolBar->action(PlayerCommand::Open)));
    if (open == nullptr)
        return;
    auto* menu = new CRecentVideosMenu(m_settings.iniFile(), this);
    connect(menu, &CRecentVideosMenu::videoChosen, this, [this](const QString& path) {
        if (isCommandEnabled(PlayerCommand::Open))
            openChosenVideo(path);
    });
    open->setMenu(menu);
    open->setPopupMode(QToolButton::MenuButtonPopup);
}

QLayout* CControlPanelDlg::buildFolderRow()
{
    m_targetLabel = new CCaptionLabel(this);
    m_targetLabel->setObjectName(QStringLiteral("targetFolder"));
    m_targetLabel->setEllipsis(CaptionEllipsis::Path);

    auto* row = new QHBoxLayout;
    m_folderRow = row;
    row->addWidget(new QLabel(tr("Save to"), this));
    QPushButton* choose =
        addButton(tr("..."), "chooseFolderButton", &CControlPanelDlg::onChooseFolder);
    choose->setFixedWidth(choose->fontMetrics().horizontalAdvance(choose->text()) + 16);
    row->addWidget(choose);
    row->addWidget(m_targetLabel, 1);
    row->addWidget(addButton(tr("View"), "viewButton", &CControlPanelDlg::onView));
    row->addWidget(addFrameText(FrameTextControl::CurrentFrame, "currentFrameText"));
    return row;
}

QLayout* CControlPanelDlg::buildFrameGrid()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(new QLabel(tr("First frame"), this), 0, 0);
    grid->addWidget(addFrameText(FrameTextControl::FirstFrame, "firstFrameText"), 0, 1);
    grid->addWidget(new QLabel(tr("Last frame"), this), 0, 2);
    grid->addWidget(addFrameText(FrameTextControl::LastFrame, "lastFrameText"), 0, 3);
    grid->addWidget(
        addButton(tr("Save"), "saveParametersButton", &CControlPanelDlg::onSaveParameters), 0, 5);
    grid->addWidget(new QLabel(tr("Start frame"), this), 1, 0);
    grid->addWidget(addFrameText(FrameTextControl::BeginMark, "startFrameText"), 1, 1);
    grid->addWidget(new QLabel(tr("End frame"), this), 1, 2);
    grid->addWidget(addFrameText(FrameTextControl::EndMark, "endFrameText"), 1, 3);
    grid->addWidget(
        addButton(tr("Load"), "loadParametersButton", &CControlPanelDlg::onLoadParameters), 1, 5);
    grid->setColumnStretch(4, 1);
    return grid;
}

QLabel* CControlPanelDlg::addFrameText(FrameTextControl control, const char* name)
{
    auto* text = new QLabel(this);
    text->setObjectName(QLatin1String(name));
    text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Wide enough for a frame of a long video: "1234567 12:34:56.789".
    text->setMinimumWidth(
        text->fontMetrics().horizontalAdvance(QStringLiteral("0000000 00:00:00.000")) + 8);
    m_frameTexts[control] = text;
    return text;
}

QPushButton* CControlPanelDlg::addButton(const QString& text, const char* name,
                                         void (CControlPanelDlg::*slot)())
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    // Enter confirms nothing in the panel: no button becomes the default one.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}
