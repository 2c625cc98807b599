#pragma once

#include "player/file_drop.h"
#include "player/player_command.h"
#include "source/frame_source.h"
#include "source/frame_source_owner.h"
#include "ui/event_loop_clock.h"

#include <QDialog>
#include <QString>

#include <map>
#include <optional>

class CCaptionLabel;
class CDialogToolBar;
class CFrameSlider;
class CSettings;
class CVideoWindowDlg;
class QDragMoveEvent;
class QDropEvent;
class QGridLayout;
class QLabel;
class QMimeData;
class QPushButton;
class QTimer;

// The window from which the user drives everything: the tool bar of commands, the frame
// slider, the target folder and the frame texts. It owns the frame source that draws into the
// video window, and it is a tool window of the video window, which keeps it above that window
// and takes it along when it is minimised.
//
// Playback and recording run inside a command and handle the queued events after every frame,
// so the commands that stay enabled while they run (Stop above all) are entered from inside
// them. The enable rules keep every command that would move the current frame or start a
// second loop away from a running one.
class CControlPanelDlg : public QDialog, public FrameSourceOwner
{
    Q_OBJECT

public:
    CControlPanelDlg(CSettings& settings, CVideoWindowDlg* videoWindow);
    ~CControlPanelDlg() override;

    // Opens the video, sizes the video window to its frames, gives the slider its range and
    // draws the first frame. False when the video could not be opened; nothing is open then.
    // The path is in the file system's own bytes; the QString forms are for names that come
    // from the windows.
    bool OpenVideo(const std::string& path);
    bool OpenVideo(const QString& path);
    // OpenVideo, and when it fails, everything reset to "no video" and the user told.
    bool openVideoOrTell(const std::string& path);
    bool openVideoOrTell(const QString& path);
    // A video the user chose, by the Open command or otherwise: openVideoOrTell, and on the
    // list of recent videos. The std::string form takes a full path in the file system's bytes.
    bool openChosenVideo(const QString& path);
    bool openChosenVideo(const std::string& path);

    // Drops on either window (file_drop.h says what is taken): a drag is answered at once; a
    // drop is taken after the drop has ended, so that the place it came from is not kept
    // waiting by a message.
    void answerDrag(QDragMoveEvent& event, DropPlace place) const;
    void takeDrop(QDropEvent& event, DropPlace place);

    // Creates the target folder and records the frames from `from` to `to` into it.
    void PrepareTargetFolder(int from, int to);

    // Runs the command when its rule allows it, then brings the enabled states up to date.
    void runCommand(PlayerCommand command);
    bool isCommandEnabled(PlayerCommand command) const;
    // Applies the enable rules to the tool bar and the slider.
    void updateCommands();

    // The close request, from Escape, the close box or the video window: a running loop is
    // asked to stop and comes back here when it has; otherwise the video window is told.
    void OnCancel();
    // The last step of closing: the video is closed and the window goes.
    void destroyWindow();

    CFrameSource& source() { return m_source; }
    CDialogToolBar* toolBar() const { return m_toolBar; }
    CFrameSlider* slider() const { return m_slider; }
    QString targetFolder() const { return m_targetFolder; }
    void setTargetFolder(const QString& folder);
    QString frameText(FrameTextControl control) const;

    void setFrameText(FrameTextControl control, const std::string& text) override;
    void setSliderPosition(int frame) override;
    void receiveSampleSize(std::uint32_t bytes) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void postCancel() override;
    bool showReadProgress(int permille) override;
    void prepareFirstPicture(PixelSize frameSize) override;
    // While a file is read through for Open, a close is put off until the read has stopped:
    // true then.
    bool deferCloseWhileOpening();

public slots:
    // Enter has nothing to confirm here.
    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildForm();
    void addRecentVideosMenu();
    QLayout* buildFolderRow();
    QLayout* buildFrameGrid();
    QLabel* addFrameText(FrameTextControl control, const char* name);
    QPushButton* addButton(const QString& text, const char* name, void (CControlPanelDlg::*slot)());

    std::optional<int> frameTarget(PlayerCommand command) const;
    bool isEnabledWhileOpening(PlayerCommand command) const;
    void runWhileOpening(PlayerCommand command);
    void runOtherCommand(PlayerCommand command);
    void doIdleWork();
    void onOpen();
    void onSaveCurrentImage();
    void saveCurrentImageTo(const QString& path);
    void copyCurrentImage();
    void onPosition();
    void onOption();
    void applyPictureOptions();
    void onAbout();
    void onBitrate();
    void onContactSheet();
    void onScale();
    void onAverage();
    void onStartPosition();
    void onEndPosition();
    void requestStop();
    void showMarks();
    void showFrameRange();
    void tellOpenFailed(const std::string& path);
    void resetAfterFailedOpen();

    void onThumbTracked();
    void onChannelClicked();
    void onSliderReleased();
    void showPreview();
    void endPreview();

    DroppedItem droppable(const QMimeData& data, DropPlace place) const;
    DropPlace placeAt(QPointF position) const;
    void takeDroppedItem(const DroppedItem& item);

    void onChooseFolder();
    void onView();
    void onSaveParameters();
    void onLoadParameters();
    void applyStoredFrames();

    CSettings& m_settings;
    CVideoWindowDlg* m_videoWindow; // the parent
    EventLoopClock m_clock;
    CFrameSource m_source;
    int m_sliderTarget = 0;
    // While the slider is dragged: the key frame its picture should show, and the one shown.
    int m_previewWanted = -1;
    int m_previewShown = -1;
    bool m_previewPending = false;
    QString m_targetFolder;
    bool m_destroying = false;
    // While Open reads a file through: a close asked for meanwhile, or the open of another file,
    // stops the read and waits for it to end; a command that needs the frames waits for them.
    bool m_opening = false;
    bool m_closeAfterOpening = false;
    // Runs the frame source's idle work a picture at a time while nothing else waits.
    QTimer* m_idleWork = nullptr;
    std::optional<std::string> m_videoAfterOpening;
    std::optional<PlayerCommand> m_commandAfterOpening;

    // Children of the panel.
    CDialogToolBar* m_toolBar = nullptr;
    CFrameSlider* m_slider = nullptr;
    CCaptionLabel* m_targetLabel = nullptr;
    QLayout* m_folderRow = nullptr; // the "Save to" row
    std::map<FrameTextControl, QLabel*> m_frameTexts;
};
