#pragma once

#include "batch/batch_job.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class CCaptionLabel;
class CSettings;
class QComboBox;
class QGroupBox;
class QLabel;
class QHBoxLayout;
class QLayout;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QCheckBox;

// What the Scale and Average dialogs share: the source folder and its image type, a target, the
// JPEG quality, the Begin button that reads Stop while a run goes on, the "Processing:" field
// with the progress bar, Reset, and the hidden Save and Load of the tool's settings section.
//
// A run goes on inside the Begin command and handles the waiting events before each file, so
// that Stop and a close request reach it. Closing during a run stops the run first; the dialog
// closes once the run has returned. The paths shown in the caption labels are the dialog's
// folder and target fields.
class CBatchDialog : public QDialog, protected BatchProgress
{
    Q_OBJECT

public:
    bool isRunning() const { return m_job != nullptr; }

public slots:
    // The close box and Escape: the tool's settings are saved and the dialog ends, or, during a
    // run, the run is stopped and the dialog ends after it.
    void reject() override;

protected:
    CBatchDialog(CSettings& settings, TrashCan& trash, QWidget* parent);

    // The tool's own part.
    virtual void startRun() = 0;
    virtual bool targetIsJpeg() const = 0;
    virtual void browseTarget() = 0;
    virtual void viewTarget() = 0;
    virtual QString finishedText() const = 0;
    // "Please select the target folder." or "...file."
    virtual QString noTargetText() const = 0;
    // Puts the defaults, or the section's stored values over them, into the controls; writes the
    // controls into the section.
    virtual void showDefaults() = 0;
    virtual void showStored() = 0;
    virtual bool saveSection() = 0;

    // Builders for the tool's layout. Every control that a run disables is registered with
    // addControl, in the order of the form.
    QWidget* addControl(QWidget* control);
    QPushButton* makeButton(const QString& text, const char* name, void (CBatchDialog::*slot)());
    CCaptionLabel* makePathLabel(const char* name);
    QGroupBox* buildSourceGroup();
    // "label [Browse] [View]" for the target, and "label [quality]".
    QHBoxLayout* buildTargetRow(const QString& label);
    QHBoxLayout* buildQualityRow(const QString& label);
    QLayout* buildBottomRows();
    // The dialog's start: the stored settings, then the quality controls' state.
    void initialise();

    // Runs a job that started: the controls are disabled, the job walks its files, finish
    // makes its result, and the user is told how it went.
    void runJob(CBatchJob& job, const std::function<BatchResult()>& finish);
    // Tells the user why a job did not start; true when it did.
    bool started(BatchStart start, const CBatchJob& job);

    void EnableControls(bool enable);
    void UpdateQualityControls();

    QString sourceFolder() const;
    ImageFormat sourceFormat() const;
    SourceFiles sourceFiles() const;
    QString viewerPath() const;

    void onFile(int position, const std::string& path) override;
    void onWait() override;
    void onResizedCopy(int width, int height) override;

    CSettings& m_settings;
    TrashCan& m_trash;

    // Children of the dialog.
    CCaptionLabel* m_sourceLabel = nullptr;
    CCaptionLabel* m_targetLabel = nullptr;
    CCaptionLabel* m_processingLabel = nullptr;
    QComboBox* m_sourceType = nullptr;
    QCheckBox* m_deleteSources = nullptr;
    QLabel* m_qualityLabel = nullptr;
    QSpinBox* m_quality = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_beginButton = nullptr;

private:
    void onBegin();
    void browseSource();
    void viewSource();
    void reset();
    void load();
    void save();
    void tellResult(const BatchResult& result);
    void closeAfterRun();
    bool saveOrTell();

    QList<QWidget*> m_controls;
    CBatchJob* m_job = nullptr; // not owned; set only while a run is on the stack
    bool m_closeRequested = false;
};

// The folder dialog's filter for one image type: "Jpeg Files(*.jpg)|*.jpg|All Files(*.*)|*.*||".
QString BatchFolderFilter(ImageFormat format);
