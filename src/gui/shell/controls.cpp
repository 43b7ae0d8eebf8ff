#include "gui/shell/controls.h"

#include "gui/shell/picture_button.h"
#include "gui/shell/pictures.h"
#include "gui/shell/text_box.h"
#include "gui/shell/twips.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace shell {

namespace {

template <class Control> Control* Placed(Control* control, const char* name, Twips place) {
    control->setObjectName(QString::fromLatin1(name));
    PlaceTwips(control, place.left, place.top, place.width, place.height);
    return control;
}

} // namespace

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, Twips place,
                 Qt::Alignment alignment) {
    auto* label = Placed(new QLabel(caption, parent), name, place);
    label->setAlignment(alignment);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* NewTextBox(QWidget* parent, const char* name, Twips place) {
    return Placed(new TextBox(parent), name, place);
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, Twips place) {
    auto* button = Placed(new QPushButton(caption, parent), name, place);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLabel* NewStatusLabel(QWidget* parent, Twips place) {
    auto* label = NewLabel(parent, "lblAktion", QString(), place, Qt::AlignHCenter | Qt::AlignTop);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    return label;
}

QProgressBar* NewProgressBar(QWidget* parent, Twips place) {
    auto* bar = Placed(new QProgressBar(parent), "PB", place);
    bar->setRange(0, 5);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

PictureButton* NewEndButton(QWidget* parent, Twips place) {
    return Placed(new PictureButton(QStringLiteral("Ende"), EndPicture(), parent), "cmdEnde", place);
}

PictureButton* NewInfoButton(QWidget* parent, Twips place) {
    return Placed(new PictureButton(QStringLiteral("Info"), InfoPicture(), parent), "cmdInfo", place);
}

void OfferCopy(QLabel* label) {
    auto* copy = new QAction(QStringLiteral("Kopieren"), label);
    QObject::connect(copy, &QAction::triggered, label, [label] {
        if (!label->text().isEmpty())
            QGuiApplication::clipboard()->setText(label->text());
    });
    label->addAction(copy);
    label->setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString CountText(long long count) {
    return QString::number(count);
}

void SetUpMainWindow(QWidget* window, const QString& caption, int widthTwips, int heightTwips) {
    window->setWindowTitle(caption);
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    const QSize client = SizeInTwips(widthTwips, heightTwips);
    window->resize(client);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - QPoint(client.width() / 2, client.height() / 2));
}

} // namespace shell
