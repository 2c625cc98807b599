#pragma once

#include "video/contact_sheet.h"

#include <QDialog>

#include <string>

class CSettings;
class QCheckBox;
class QSpinBox;

// The Contact Sheet command: the grid's columns, rows and width, and whether only key frames
// count; Save asks for the file and draws the sheet of the open video into it.
class CContactSheetDlg : public QDialog
{
    Q_OBJECT

public:
    // The video by the bytes of its name, which need not be UTF-8.
    CContactSheetDlg(const std::string& videoPath, const CSettings& settings,
                     QWidget* parent = nullptr);

    SheetGrid grid() const;
    // Asks for a file name, then SaveTo.
    void OnSave();
    // Draws the sheet into path, its type by its extension; tells the user when that fails and
    // closes the dialog when it succeeds.
    void SaveTo(const QString& path);

private:
    std::string m_videoPath;
    const CSettings& m_settings;
    QSpinBox* m_columns = nullptr;
    QSpinBox* m_rows = nullptr;
    QSpinBox* m_width = nullptr;
    QCheckBox* m_keyFrames = nullptr;
};
