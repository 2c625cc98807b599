#pragma once

#include <QDialog>

class CFrameSource;
class QComboBox;
class QLineEdit;

// Moves the player to a frame chosen by number, or to the start or the end mark. Each Go
// button makes one move and closes the dialog; a number beyond the video goes to its nearest
// end. Enter closes it without moving, Escape cancels.
class CPositionDlg : public QDialog
{
    Q_OBJECT

public:
    CPositionDlg(CFrameSource& source, QWidget* parent = nullptr);

    int frameNumber() const { return m_frameNumber; }
    int locationIndex() const { return m_locationIndex; }

public slots:
    // Closes as OK, without a move, once both fields read well.
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool readFields();
    void goToFrame();
    void goToLocation();
    void moveTo(int frame);

    CFrameSource& m_source;
    int m_frameNumber = 0;
    int m_locationIndex = -1;

    // Children of the dialog.
    QLineEdit* m_frameEdit = nullptr;
    QComboBox* m_location = nullptr;
};
