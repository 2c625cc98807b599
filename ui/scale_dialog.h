#pragma once

#include "settings/batch_settings.h"
#include "ui/batch_dialog.h"

class QComboBox;

// The Scale tool: resizes every image of one type in a source folder by a factor or to a fixed
// size, writing the results into a target folder in the chosen type. Its settings live in
// section "ScaleImage".
class CScaleDialog : public CBatchDialog
{
    Q_OBJECT

public:
    CScaleDialog(CSettings& settings, TrashCan& trash, QWidget* parent = nullptr);

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
    void showFields(const ScaleToolSettings& fields);
    QGroupBox* buildTargetGroup();
    QString targetFolder() const;
    ImageFormat targetFormat() const;

    // Children of the dialog.
    QComboBox* m_targetType = nullptr;
    QComboBox* m_size = nullptr;
};
