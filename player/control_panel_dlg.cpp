#include "player/control_panel_dlg.h"

#include "bitrate/bitrate_dlg.h"
#include "desktop/desktop_trash.h"
#include "image/image_format.h"
#include "platform/application_name.h"
#include "platform/file_system.h"
#include "player/dialog_tool_bar.h"
#include "player/frame_slider.h"
#include "player/player_parameters.h"
#include "player/recent_videos.h"
#include "player/video_files.h"
#include "player/video_window_dlg.h"
#include "settings/settings.h"
#include "sheet/contact_sheet_dlg.h"
#include "ui/about_box.h"
#include "ui/average_dialog.h"
#include "ui/caption_label.h"
#include "ui/engine_path.h"
#include "ui/error_message.h"
#include "ui/help_file.h"
#include "ui/message_box.h"
#include "ui/message_pump.h"
#include "ui/option_dlg.h"
#include "ui/packed_dib_image.h"
#include "ui/position_dlg.h"
#include "ui/scale_dialog.h"
#include "ui/select_folder_dialog.h"
#include "ui/view_first_image.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragMoveEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QTimer>

namespace {

// The folder dialog's file types, translated where the dialog is made.
//: Names shown and their patterns, taking turns between the '|'; the patterns and the closing
//: "||" stay as they are.
const char* const kImageFilter = QT_TRANSLATE_NOOP(
    "CControlPanelDlg",
    "Jpg Files(*.jpg)|*.jpg|Bmp Files(*.bmp)|*.bmp|Png Files(*.png)|*.png|All Files(*.*)|*.*||");

QString applicationName()
{
    return QString::fromUtf8(kApplicationName);
}

} // namespace

CControlPanelDlg::CControlPanelDlg(CSettings& settings, CVideoWindowDlg* videoWindow)
    : QDialog(videoWindow, Qt::Tool), m_settings(settings), m_videoWindow(videoWindow)
{
    setObjectName(QStringLiteral("controlPanel"));
    setWindowTitle(applicationName());
    setWindowIcon(QIcon(QStringLiteral(":/icons/clipmint.svg")));
    setAcceptDrops(true);
    m_source.setMessagePump(PumpMessages);
    m_source.setPlaybackClock(&m_clock);
    // Each loop starts with the buttons showing the running state.
    m_source.setIdleUpdate([this] { updateCommands(); });
    m_idleWork = new QTimer(this);
    m_idleWork->setSingleShot(true);
    m_idleWork->setInterval(0);
    connect(m_idleWork, &QTimer::timeout, this, &CControlPanelDlg::doIdleWork);
    m_settings.LoadViewerPath();
    buildForm();
    // Every command's key works in the panel, also for the commands without a button.
    addActions(m_toolBar->commandActions());
    m_slider->Prepare();
    m_slider->setTickInterval(10);
    updateCommands();
    m_slider->setFocus();
}

CControlPanelDlg::~CControlPanelDlg() = default;

// Opening

bool CControlPanelDlg::OpenVideo(const QString& path)
{
    return OpenVideo(enginePath(path));
}

bool CControlPanelDlg::OpenVideo(const std::string& path)
{
    PumpMessages();
    m_videoWindow->clearFrame();
    m_source.setPictureOptions(PictureOptionsOf(m_settings));
    std::int64_t bitrate = 0;
    m_opening = true;
    m_commandAfterOpening.reset();
    // Nothing of the video before stays in view while this one's frames are listed.
    for (const auto& [control, text] : m_frameTexts)
        text->clear();
    m_slider->setRange(0, 0);
    updateCommands();
    const bool opened = m_source.Open(path, m_videoWindow, this, bitrate, WantFrames::Yes);
    m_opening = false;
    const std::optional<PlayerCommand> waiting = std::exchange(m_commandAfterOpening, std::nullopt);
    if (m_closeAfterOpening) {
        // Closing was asked for while the file was read: it goes on now.
        m_closeAfterOpening = false;
        m_videoAfterOpening.reset();
        updateCommands();
        OnCancel();
        return false;
    }
    if (std::optional<std::string> next = std::exchange(m_videoAfterOpening, std::nullopt)) {
        // Another file was chosen while this one was read: it is opened once this open has
        // been told of as stopped.
        QMetaObject::invokeMethod(
            this, [this, next = std::move(*next)] { openChosenVideo(next); }, Qt::QueuedConnection);
    }
    if (!opened) {
        updateCommands();
        return false;
    }
    m_videoWindow->setClientSize(m_source.GetFrameRect());
    PumpMessages();
    showFrameRange();
    PumpMessages();
    m_source.Redraw();
    setWindowTitle(applicationName() + QStringLiteral(" - ") +
                   QFileInfo(displayPath(path)).fileName());
    QString caption =
        applicationName() +
        QStringLiteral(" - %1Kbps, %2fps").arg(bitrate).arg(m_source.framesPerSecond());
    // Pictures of non-square pixels are shown as stored unless asked otherwise: the title says
    // what they are meant to look like.
    if (const PictureDescription picture = m_source.describePicture(); picture.nonSquarePixels)
        caption +=
            QStringLiteral(", %1:%2").arg(picture.displayAspect.num).arg(picture.displayAspect.den);
    m_videoWindow->setCaption(caption);
    updateCommands();
    if (const std::optional<Error>& problem = m_source.openError())
        ShowMessage(this, ErrorMessage(*problem));
    if (waiting)
        QMetaObject::invokeMethod(
            this, [this, command = *waiting] { runCommand(command); }, Qt::QueuedConnection);
    return true;
}

bool CControlPanelDlg::openVideoOrTell(const QString& path)
{
    if (isPassablePath(path))
        return openVideoOrTell(enginePath(path));
    resetAfterFailedOpen();
    tellUnpassablePath(this, path);
    return false;
}

bool CControlPanelDlg::openVideoOrTell(const std::string& path)
{
    if (m_opening) {
        m_videoAfterOpening = path;
        return false;
    }
    if (OpenVideo(path))
        return true;
    tellOpenFailed(path);
    return false;
}

bool CControlPanelDlg::openChosenVideo(const QString& path)
{
    if (!isPassablePath(path)) {
        resetAfterFailedOpen();
        tellUnpassablePath(this, path);
        return false;
    }
    return openChosenVideo(enginePath(QFileInfo(path).absoluteFilePath()));
}

bool CControlPanelDlg::openChosenVideo(const std::string& path)
{
    if (m_opening) {
        m_videoAfterOpening = path;
        return false;
    }
    if (!openVideoOrTell(path))
        return false;
    // The list is a convenience the user did not ask to be written: a settings file that
    // refuses it is not worth a message at every video.
    RememberRecentVideo(m_settings.iniFile(), path);
    return true;
}

void CControlPanelDlg::tellOpenFailed(const std::string& path)
{
    const Error error = m_source.openError().value_or(Error{Failure::OpenVideo, path, 0, {}});
    // The windows must not go on showing a video that is closed, not even behind the message.
    resetAfterFailedOpen();
    // An open stopped for closing the program needs no word.
    if (error.what != Failure::OpenStopped)
        ShowMessage(this, ErrorMessage(error));
}

void CControlPanelDlg::showFrameRange()
{
    const int first = m_source.firstFrame();
    const int last = m_source.lastFrame();
    m_slider->setRange(first, last);
    m_slider->setTickInterval(static_cast<int>((std::int64_t(last) - first) / 10));
    m_slider->setValue(first);
    m_slider->setSelection(first, last);
}

void CControlPanelDlg::resetAfterFailedOpen()
{
    m_source.Close();
    for (const auto& [control, text] : m_frameTexts)
        setFrameText(control, m_source.FormatFrameText(0));
    m_slider->setRange(0, 0);
    m_slider->setSelection(m_source.beginMark(), m_source.beginMark());
    setWindowTitle(applicationName());
    m_videoWindow->setCaption(applicationName());
    m_videoWindow->showNoVideo();
    updateCommands();
}

// Commands

bool CControlPanelDlg::isCommandEnabled(PlayerCommand command) const
{
    if (m_opening)
        return isEnabledWhileOpening(command);
    const int state = m_source.state();
    const bool idle = state == CFrameSource::StateIdle;
    const bool running =
        state == CFrameSource::StatePlaying || state == CFrameSource::StateRecording;
    switch (command) {
    case PlayerCommand::Open:
        return !running;
    case PlayerCommand::Stop:
        return running;
    case PlayerCommand::Record:
    case PlayerCommand::PeriodRecord:
        return idle && !m_targetFolder.isEmpty();
    case PlayerCommand::CopyImage:
        // The frame on the screen, also while a video plays or records.
        return state != CFrameSource::StateClosed;
    case PlayerCommand::Option:
    case PlayerCommand::Scale:
    case PlayerCommand::Average:
    case PlayerCommand::About:
    case PlayerCommand::Help:
    case PlayerCommand::FitOrFullSize:
        return true;
    default:
        return idle;
    }
}

void CControlPanelDlg::updateCommands()
{
    m_toolBar->updateCommands([this](PlayerCommand command) { return isCommandEnabled(command); });
    m_slider->setEnabled(m_source.state() == CFrameSource::StateIdle);
    // A button that stays grey for want of a folder says so.
    for (const PlayerCommand command : {PlayerCommand::Record, PlayerCommand::PeriodRecord}) {
        QString tip = commandToolTip(command);
        if (m_targetFolder.isEmpty())
            tip += u'\n' + tr("Choose a folder under \"Save to\" first.");
        m_toolBar->action(command)->setToolTip(tip);
    }
    if (m_source.state() == CFrameSource::StateIdle)
        m_idleWork->start();
}

// One picture of the frame source's idle work, and another when the events that came meanwhile
// have been handled; none while a file opens or the slider is dragged.
void CControlPanelDlg::doIdleWork()
{
    if (m_opening || m_slider->isSliderDown())
        return;
    if (m_source.DecodeInIdle())
        m_idleWork->start();
}

// While a file's frames are listed, the commands that go to a frame or play wait for the list,
// the last one given taking the place of any before it; Stop forgets it. Open stops the list for
// another file; the commands that need no video work as ever; the rest wait to be enabled.
bool CControlPanelDlg::isEnabledWhileOpening(PlayerCommand command) const
{
    switch (command) {
    case PlayerCommand::Open:
    case PlayerCommand::About:
    case PlayerCommand::Help:
    case PlayerCommand::FitOrFullSize:
    case PlayerCommand::Play:
    case PlayerCommand::FirstFrame:
    case PlayerCommand::PrevFrame:
    case PlayerCommand::NextFrame:
    case PlayerCommand::LastFrame:
    case PlayerCommand::NextKeyFrame:
    case PlayerCommand::PrevKeyFrame:
        return true;
    case PlayerCommand::Stop:
        return m_commandAfterOpening.has_value();
    default:
        return false;
    }
}

void CControlPanelDlg::runWhileOpening(PlayerCommand command)
{
    switch (command) {
    case PlayerCommand::Open:
    case PlayerCommand::About:
    case PlayerCommand::Help:
    case PlayerCommand::FitOrFullSize:
        runOtherCommand(command);
        break;
    case PlayerCommand::Stop:
        m_commandAfterOpening.reset();
        break;
    default:
        m_commandAfterOpening = command;
        break;
    }
}

void CControlPanelDlg::runCommand(PlayerCommand command)
{
    // A key can arrive after the state changed and before the buttons caught up.
    if (!isCommandEnabled(command))
        return;
    if (m_opening) {
        runWhileOpening(command);
        updateCommands();
        return;
    }
    if (const std::optional<int> frame = frameTarget(command))
        m_source.Seek(*frame); // a frame outside the video, or -1 for no key frame, is ignored
    else
        runOtherCommand(command);
    // Options chosen while a loop ran take effect once it has ended.
    applyPictureOptions();
    updateCommands();
}

// The Option dialog's picture options, once no loop runs; the window takes the frame size they
// give.
void CControlPanelDlg::applyPictureOptions()
{
    const PictureOptions options = PictureOptionsOf(m_settings);
    if (options == m_source.pictureOptions() || !m_source.setPictureOptions(options) ||
        !m_source.isOpen())
        return;
    m_videoWindow->setClientSize(m_source.GetFrameRect());
    m_source.Redraw();
}

std::optional<int> CControlPanelDlg::frameTarget(PlayerCommand command) const
{
    const int current = m_source.currentFrame();
    switch (command) {
    case PlayerCommand::FirstFrame:
        return m_source.firstFrame();
    case PlayerCommand::PrevFrame:
        return current - 1;
    case PlayerCommand::NextFrame:
        return current + 1;
    case PlayerCommand::LastFrame:
        return m_source.lastFrame();
    case PlayerCommand::NextKeyFrame:
        return m_source.FindKeyFrame(current + 1, SearchDirection::Forward);
    case PlayerCommand::PrevKeyFrame:
        return m_source.FindKeyFrame(current - 1, SearchDirection::Backward);
    default:
        return std::nullopt;
    }
}

void CControlPanelDlg::runOtherCommand(PlayerCommand command)
{
    switch (command) {
    case PlayerCommand::Open:
        return onOpen();
    case PlayerCommand::SaveCurrentImage:
        return onSaveCurrentImage();
    case PlayerCommand::Play:
        return m_source.Play();
    case PlayerCommand::Stop:
        return requestStop();
    case PlayerCommand::Record:
        return PrepareTargetFolder(m_source.currentFrame(), m_source.lastFrame());
    case PlayerCommand::PeriodRecord:
        return PrepareTargetFolder(m_source.beginMark(), m_source.endMark());
    case PlayerCommand::Position:
        return onPosition();
    case PlayerCommand::StartPosition:
        return onStartPosition();
    case PlayerCommand::EndPosition:
        return onEndPosition();
    case PlayerCommand::Option:
        return onOption();
    case PlayerCommand::Bitrate:
        return onBitrate();
    case PlayerCommand::ContactSheet:
        return onContactSheet();
    case PlayerCommand::Scale:
        return onScale();
    case PlayerCommand::Average:
        return onAverage();
    case PlayerCommand::About:
        return onAbout();
    case PlayerCommand::Help:
        return OpenHelpFile(this);
    case PlayerCommand::CopyImage:
        return copyCurrentImage();
    case PlayerCommand::FitOrFullSize:
        return m_videoWindow->toggleFit();
    default:
        return;
    }
}

void CControlPanelDlg::requestStop()
{
    // A stop that closing asked for stays one that closes.
    m_source.RequestStop(m_source.closeAfterStop() ? CloseAfterStop::Yes : CloseAfterStop::No);
}

void CControlPanelDlg::onOpen()
{
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("All videos(%1)").arg(videoFilePatterns()), tr("All Files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    openChosenVideo(dialog.selectedFiles().first());
}

void CControlPanelDlg::onSaveCurrentImage()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    dialog.setNameFilters({tr("Jpg Files(*.jpg)"), tr("Bmp Files(*.bmp)"), tr("Png Files(*.png)"),
                           tr("All Files(*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    // The area under the closed dialog is repainted before the work starts.
    PumpMessages();
    saveCurrentImageTo(dialog.selectedFiles().first());
}

void CControlPanelDlg::saveCurrentImageTo(const QString& path)
{
    if (!isPassablePath(path)) {
        tellUnpassablePath(this, path);
        return;
    }
    const std::string file = enginePath(path);
    if (!ImageFormatOfPath(file)) {
        ShowMessage(this, tr("Sorry, the valid extension only can be jpg, png or bmp."));
        return;
    }
    m_source.setRecordingFormat(RecordingFormatOf(m_settings));
    if (const Outcome saved = m_source.SaveCurrentFrame(file); !saved)
        ShowMessage(this, ErrorMessage(saved.error()));
}

void CControlPanelDlg::copyCurrentImage()
{
    // The decoder's own frame, the pixels Save Current Image writes, whatever the window shows.
    const QImage frame = ImageFromPackedDib(m_source.decodedFrame());
    if (!frame.isNull())
        QApplication::clipboard()->setImage(frame);
}

void CControlPanelDlg::PrepareTargetFolder(int from, int to)
{
    if (m_source.state() != CFrameSource::StateIdle || m_targetFolder.isEmpty())
        return;
    if (!isPassablePath(m_targetFolder)) {
        tellUnpassablePath(this, m_targetFolder);
        return;
    }
    const std::string folder = enginePath(m_targetFolder);
    if (const std::string reason = MakeSureDirectoryPathExists(folder); !reason.empty()) {
        ShowMessage(this, tr("Sorry, can't create target folder. Please check it. (%1)")
                              .arg(QString::fromStdString(reason)));
        return;
    }
    m_source.setRecordingFormat(RecordingFormatOf(m_settings));
    const RecordResult result = m_source.Record(folder, from, to);
    updateCommands();
    if (result.error)
        ShowMessage(this, ErrorMessage(*result.error));
    else if (result.undecodable > 0)
        ShowMessage(this, tr("Sorry, %1 of the frames could not be decoded and were not saved.")
                              .arg(result.undecodable));
}

void CControlPanelDlg::onPosition()
{
    CPositionDlg dialog(m_source, this);
    dialog.exec();
}

void CControlPanelDlg::onAbout()
{
    CAboutBox dialog(this);
    dialog.exec();
}

void CControlPanelDlg::onOption()
{
    COptionDlg dialog(m_settings, this);
    dialog.exec();
}

void CControlPanelDlg::onBitrate()
{
    CBitrateDlg dialog(m_source.path(), this);
    dialog.exec();
}

void CControlPanelDlg::onContactSheet()
{
    CContactSheetDlg dialog(m_source.path(), m_settings, this);
    dialog.exec();
}

void CControlPanelDlg::onScale()
{
    CDesktopTrash trash;
    CScaleDialog dialog(m_settings, trash, this);
    dialog.exec();
}

void CControlPanelDlg::onAverage()
{
    CDesktopTrash trash;
    CAverageDialog dialog(m_settings, trash, this);
    dialog.exec();
}

// The marks never cross: a start set after the end turns the old end into the start, and an
// end set before the start turns the old start into the end.
void CControlPanelDlg::onStartPosition()
{
    const int position = m_slider->value();
    if (position <= m_source.endMark()) {
        m_source.setBeginMark(position);
    } else {
        m_source.setBeginMark(m_source.endMark());
        m_source.setEndMark(position);
    }
    showMarks();
}

void CControlPanelDlg::onEndPosition()
{
    const int position = m_slider->value();
    if (position >= m_source.beginMark()) {
        m_source.setEndMark(position);
    } else {
        m_source.setEndMark(m_source.beginMark());
        m_source.setBeginMark(position);
    }
    showMarks();
}

void CControlPanelDlg::showMarks()
{
    m_slider->setSelection(m_source.beginMark(), m_source.endMark());
    m_source.ShowMarkTexts();
}

// The slider

void CControlPanelDlg::onThumbTracked()
{
    if (m_source.state() != CFrameSource::StateIdle)
        return;
    const int frame = m_slider->CursorFrame();
    m_source.ShowCurrentText(frame);
    m_sliderTarget = frame;
    // The picture follows with the nearest key frame at or before the thumb, which costs one
    // decode; the moves that come while it decodes are taken together.
    m_previewWanted = m_source.FindKeyFrame(
        std::clamp(frame, m_source.firstFrame(), m_source.lastFrame()), SearchDirection::Backward);
    if (!m_previewPending && m_previewWanted >= 0 && m_previewWanted != m_previewShown) {
        m_previewPending = true;
        QMetaObject::invokeMethod(this, &CControlPanelDlg::showPreview, Qt::QueuedConnection);
    }
}

void CControlPanelDlg::showPreview()
{
    m_previewPending = false;
    if (m_previewWanted < 0 || m_previewWanted == m_previewShown ||
        m_source.state() != CFrameSource::StateIdle)
        return;
    m_previewShown = m_previewWanted;
    m_source.ShowPreview(m_previewShown);
    m_videoWindow->setPreviewNote(tr("key frame %1").arg(m_previewShown));
}

void CControlPanelDlg::endPreview()
{
    const bool shown = m_previewShown >= 0;
    m_previewWanted = m_previewShown = -1;
    if (shown)
        m_videoWindow->setPreviewNote(QString());
}

void CControlPanelDlg::onChannelClicked()
{
    if (m_source.state() == CFrameSource::StateIdle)
        m_sliderTarget = m_slider->CursorFrame();
}

void CControlPanelDlg::onSliderReleased()
{
    if (m_source.state() != CFrameSource::StateIdle)
        return;
    const bool previewed = m_previewShown >= 0;
    endPreview();
    const int current = m_source.currentFrame();
    m_source.Seek(m_sliderTarget);
    // A release beyond either end seeks nowhere: the thumb and the text go back to the frame
    // that is still the current one, and its picture to the screen.
    if (previewed && m_source.currentFrame() == current)
        m_source.Redraw();
    m_slider->setValue(m_source.currentFrame());
    m_source.ShowCurrentText(-1);
    m_idleWork->start();
}

// The dialog's buttons

void CControlPanelDlg::setTargetFolder(const QString& folder)
{
    m_targetFolder = folder;
    m_targetLabel->setText(folder);
    updateCommands();
}

void CControlPanelDlg::onChooseFolder()
{
    CSelectFolderDialog dialog(FolderDialogFiles::Show, m_targetFolder, tr(kImageFilter), this);
    if (dialog.DoModal() == QDialog::Accepted)
        setTargetFolder(dialog.GetSelectedPath());
}

// Drops

void CControlPanelDlg::answerDrag(QDragMoveEvent& event, DropPlace place) const
{
    AnswerDrop(event, droppable(*event.mimeData(), place));
}

void CControlPanelDlg::takeDrop(QDropEvent& event, DropPlace place)
{
    const DroppedItem item = droppable(*event.mimeData(), place);
    if (!AnswerDrop(event, item))
        return;
    QMetaObject::invokeMethod(
        this, [this, item] { takeDroppedItem(item); }, Qt::QueuedConnection);
}

DroppedItem CControlPanelDlg::droppable(const QMimeData& data, DropPlace place) const
{
    DroppedItem item = ClassifyDrop(data, place);
    // A video is only taken when the Open command could take it.
    if (item.kind == DropKind::Video && !isCommandEnabled(PlayerCommand::Open))
        return {};
    return item;
}

void CControlPanelDlg::takeDroppedItem(const DroppedItem& item)
{
    switch (item.kind) {
    case DropKind::Video:
        if (isCommandEnabled(PlayerCommand::Open))
            openChosenVideo(item.path);
        return;
    case DropKind::Folder:
        if (const std::optional<QString> folder =
                CSelectFolderDialog::CheckFolder(this, item.path, QDir()))
            setTargetFolder(*folder);
        return;
    case DropKind::Refused:
        return;
    }
}

DropPlace CControlPanelDlg::placeAt(QPointF position) const
{
    return m_folderRow->geometry().contains(position.toPoint()) ? DropPlace::FolderRow
                                                                : DropPlace::Window;
}

void CControlPanelDlg::dragEnterEvent(QDragEnterEvent* event)
{
    answerDrag(*event, placeAt(event->position()));
}

void CControlPanelDlg::dragMoveEvent(QDragMoveEvent* event)
{
    // The answer changes as the pointer goes onto the "Save to" row and off it again.
    answerDrag(*event, placeAt(event->position()));
}

void CControlPanelDlg::dropEvent(QDropEvent* event)
{
    takeDrop(*event, placeAt(event->position()));
}

void CControlPanelDlg::onView()
{
    if (m_targetFolder.isEmpty()) {
        ShowMessage(this, tr("Please select the target folder."));
        return;
    }
    ViewFirstImage(this, m_targetFolder, displayPath(m_settings.viewerPath()));
}

void CControlPanelDlg::onSaveParameters()
{
    if (ShowMessage(this, tr("Are you sure you want to save and overwrite parameters in INI file?"),
                    MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (!SavePlayerParameters(m_settings.iniFile(),
                              {enginePath(m_targetFolder), m_source.path(), m_source.currentFrame(),
                               m_source.beginMark(), m_source.endMark()})) {
        ShowMessage(this, tr("Sorry, the parameters could not be saved: %1.")
                              .arg(SettingsWriteMessage(m_settings.iniFile())));
        return;
    }
    ShowMessage(this, tr("Parameters saved."));
}

void CControlPanelDlg::onLoadParameters()
{
    if (ShowMessage(this, tr("Are you sure you want to load and replace parameters?"),
                    MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    setTargetFolder(displayPath(LoadTargetDir(m_settings.iniFile())));
    const std::string aviPath = LoadAviPath(m_settings.iniFile());
    if (aviPath.empty())
        return;
    // A running loop ends at its next step instead of going on with the video loaded here.
    requestStop();
    // The stored path is the file system's own bytes, whatever the name's encoding.
    const bool opened = OpenVideo(aviPath);
    PumpMessages();
    if (!opened) {
        tellOpenFailed(aviPath);
        return;
    }
    applyStoredFrames();
    ShowMessage(this, tr("Parameters loaded."));
}

void CControlPanelDlg::applyStoredFrames()
{
    // Marks are taken as stored, also outside the video; a recording keeps to the video.
    const StoredFrames stored = LoadStoredFrames(m_settings.iniFile());
    if (stored.beginFrame)
        m_source.setBeginMark(*stored.beginFrame);
    if (stored.endFrame)
        m_source.setEndMark(*stored.endFrame);
    m_slider->setSelection(m_source.beginMark(), m_source.endMark());
    if (stored.currentFrame)
        m_source.Seek(*stored.currentFrame);
    m_source.ShowMarkTexts();
}

// Closing and minimising

bool CControlPanelDlg::deferCloseWhileOpening()
{
    if (m_opening)
        m_closeAfterOpening = true;
    return m_opening;
}

bool CControlPanelDlg::showReadProgress(int permille)
{
    setWindowTitle(applicationName() + QStringLiteral(" - ") +
                   tr("reading the video's frames: %1%").arg(permille / 10));
    // The windows are in use meanwhile; the enable rules keep what needs the frames waiting.
    QCoreApplication::processEvents();
    return !m_closeAfterOpening && !m_videoAfterOpening;
}

void CControlPanelDlg::prepareFirstPicture(PixelSize frameSize)
{
    m_videoWindow->setClientSize(FrameRect{0, 0, frameSize.width, frameSize.height});
}

void CControlPanelDlg::OnCancel()
{
    if (deferCloseWhileOpening())
        return;
    const int state = m_source.state();
    if (state == CFrameSource::StatePlaying || state == CFrameSource::StateRecording) {
        m_source.RequestStop(CloseAfterStop::Yes);
        return;
    }
    QMetaObject::invokeMethod(m_videoWindow, &CVideoWindowDlg::OnCancel, Qt::QueuedConnection);
}

void CControlPanelDlg::destroyWindow()
{
    if (deferCloseWhileOpening())
        return;
    // A loop still on the stack, one that a stop request never reached, ends at its next step.
    m_source.Close();
    m_destroying = true;
    close();
}

void CControlPanelDlg::accept() {}

void CControlPanelDlg::reject()
{
    OnCancel();
}

void CControlPanelDlg::closeEvent(QCloseEvent* event)
{
    if (m_destroying) {
        event->accept();
        return;
    }
    event->ignore();
    OnCancel();
}

void CControlPanelDlg::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    m_videoWindow->panelMoved();
}

void CControlPanelDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // Minimising the panel minimises the video window, which takes the panel along.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        QMetaObject::invokeMethod(m_videoWindow, &QWidget::showMinimized, Qt::QueuedConnection);
    }
}

// The frame source's reports

QString CControlPanelDlg::frameText(FrameTextControl control) const
{
    return m_frameTexts.at(control)->text();
}

void CControlPanelDlg::setFrameText(FrameTextControl control, const std::string& text)
{
    m_frameTexts.at(control)->setText(QString::fromStdString(text));
}

void CControlPanelDlg::setSliderPosition(int frame)
{
    m_slider->setValue(frame);
}

void CControlPanelDlg::receiveSampleSize(std::uint32_t) {}

void CControlPanelDlg::beginWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CControlPanelDlg::endWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

void CControlPanelDlg::postCancel()
{
    QMetaObject::invokeMethod(this, &CControlPanelDlg::OnCancel, Qt::QueuedConnection);
}
