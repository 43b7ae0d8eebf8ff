#pragma once
// The controls both main windows share, made the same way in each: named like the member that holds them,
// placed in twips.

#include <QString>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace shell {

class PictureButton;

struct Twips {
    int left, top, width, height;
};

// A label with its name, caption, alignment and place; left-aligned unless told otherwise.
QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, Twips place,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
// A text box that shows its whole text as a tooltip while its width cuts it.
QLineEdit* NewTextBox(QWidget* parent, const char* name, Twips place);
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, Twips place);
// The status line: centred, framed by a single-line border, empty.
QLabel* NewStatusLabel(QWidget* parent, Twips place);
// The progress bar: minimum 0, maximum 5, value 0, no percentage text.
QProgressBar* NewProgressBar(QWidget* parent, Twips place);
// The picture buttons in the upper corners.
PictureButton* NewEndButton(QWidget* parent, Twips place);
PictureButton* NewInfoButton(QWidget* parent, Twips place);

// Gives a count label the context menu item "Kopieren", which copies the number it shows.
void OfferCopy(QLabel* label);

// Shows a count as plain decimal digits.
QString CountText(long long count);

// Makes the window an ordinary one with minimise and close buttons but no maximise button, with the
// client size given in twips, centred on the screen.
void SetUpMainWindow(QWidget* window, const QString& caption, int widthTwips, int heightTwips);

} // namespace shell
