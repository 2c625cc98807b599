#pragma once

#include "settings/batch_settings.h"
#include "ui/batch_dialog.h"

class QCheckBox;

// The Average tool: merges the images of one type in a source folder into their mean image,
// written to a target file (its extension chooses JPEG, BMP or PNG), optionally with copies cut
// to 800x600 and 1024x768, and optionally under the next free number. Its settings live in
// section "MergeImage".
class CAverageDialog : public CBatchDialog
{
    Q_OBJECT

public:
    CAverageDialog(CSettings& settings, TrashCan& trash, QWidget* parent = nullptr);

protected:
    void startRun() override;
    bool targetIsJpeg() const override;
    void browseTarget() override;
    void viewTarget() override;
    QString finishedText() const override;
    QString noTargetText() const override;
    void showDefaults() override;
    void showStored() override;
    bool saveSection() override;

private:
    QGroupBox* buildTargetGroup();
    QCheckBox* makeCheckBox(const QString& text, const char* name);
    void showFields(const AverageToolSettings& fields);
    QString targetFile() const;

    // Children of the dialog.
    QCheckBox* m_autoNumber = nullptr;
    QCheckBox* m_resize800 = nullptr;
    QCheckBox* m_resize1024 = nullptr;
};
