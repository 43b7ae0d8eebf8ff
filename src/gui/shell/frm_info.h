#pragma once
// The Info dialog of both programs: product title, version, the maker's notices and two links (web page
// and mail). One component; the programs differ in the title, the version and the width of the links.

#include <QDialog>
#include <QPointer>

#include <array>

class QLabel;
class QPushButton;

namespace shell {

class Desktop;

struct InfoParameters {
    QString title; // "Tallimar" or "Fugabar"
    int major = 1; // version shown as major.minor
    int minor = 0;
    int linkWidthTwips = 4935; // width of the two link labels
};

class frmInfo : public QDialog {
    Q_OBJECT
public:
    frmInfo(const InfoParameters& parameters, Desktop& desktop);

    // The labels addressed by index as the dialog's label array (0 to 7, 25 and 26); nullptr elsewhere.
    QLabel* lbl(int index) const;

    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblAutor = nullptr;
    QPushButton* cmdOK = nullptr;

    // The text handed to the desktop by a click on the mail link.
    QByteArray mailAddressText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void on_lbl_MouseDown(int index);
    void on_lbl_MouseUp(int index);
    void on_lbl_Click(int index);
    void on_cmdOK_clicked();

    // The index of a member of the label array, or -1.
    int indexOf(const QObject* object) const;

    InfoParameters parameters_;
    Desktop& desktop_;
    std::array<QLabel*, 27> labels_{};
    // The member the mouse button went down on: its release over the same member is a click.
    int pressedIndex_ = -1;
};

// The click of a main window's cmdInfo: hourglass; create the window's one Info dialog when it is absent
// (its load steps run), otherwise show the open one again, also when minimised, and bring it forward;
// normal pointer.
void ShowInfo(QPointer<frmInfo>& dialog, const InfoParameters& parameters, Desktop& desktop);

} // namespace shell
