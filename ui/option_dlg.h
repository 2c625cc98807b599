#pragma once

#include <QDialog>
#include <QString>

class CCaptionLabel;
class CSettings;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLineEdit;
class QSpinBox;

// Edits the recording options (which frames are recorded: every N-th, one every few seconds,
// the key frames or the first of each scene; the format and the JPEG quality of saved frames,
// and whether JPEG and PNG files name the video, the frame and its time), the recorded files'
// names and manifest,
// the picture options (colour matrix, tone mapping, rotation, deinterlacing, display aspect)
// and the external image viewer. OK stores them in memory and in the settings file at once;
// Cancel forgets the edits. The playback delay is shown but can't be changed: playback runs as
// fast as frames decode, and the stored value comes back unchanged.
class COptionDlg : public QDialog
{
    Q_OBJECT

public:
    COptionDlg(CSettings& settings, QWidget* parent = nullptr);

    QString viewerPath() const { return m_viewerPath; }
    void setViewerPath(const QString& path);

public slots:
    void accept() override;

private:
    QWidget* buildRecordGroup();
    void addFrameChoice(QWidget* group, QGridLayout* grid);
    void enableFrameChoiceFields();
    void storeFrameChoice();
    QWidget* buildFilesGroup();
    bool storeFileNames();
    QWidget* buildPictureGroup();
    QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& text, int option);
    QWidget* buildPlayGroup();
    QLayout* buildViewerRow();
    QLayout* buildButtonRow();
    void chooseViewer();

    CSettings& m_settings;
    QString m_viewerPath;

    // Children of the dialog.
    QSpinBox* m_everyFrame = nullptr;
    QComboBox* m_format = nullptr;
    QSpinBox* m_quality = nullptr;
    QButtonGroup* m_frameChoice = nullptr; // a button's id is the stored choice
    QDoubleSpinBox* m_everySeconds = nullptr;
    QSpinBox* m_sceneThreshold = nullptr;
    QCheckBox* m_provenance = nullptr;
    QLineEdit* m_fileNames = nullptr;
    QCheckBox* m_manifest = nullptr;
    QSpinBox* m_delay = nullptr;
    QComboBox* m_matrix = nullptr;
    QCheckBox* m_toneMap = nullptr;
    QCheckBox* m_keepRotation = nullptr;
    QCheckBox* m_deinterlace = nullptr;
    QCheckBox* m_displayAspect = nullptr;
    CCaptionLabel* m_viewerLabel = nullptr;
};
