#include "gui/shell/frm_info.h"

#include "gui/shell/busy.h"
#include "gui/shell/command.h"
#include "gui/shell/desktop.h"
#include "gui/shell/display_text.h"
#include "gui/shell/fonts.h"
#include "gui/shell/maker.h"
#include "gui/shell/pictures.h"
#include "gui/shell/twips.h"
#include "gui/shell/window_states.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace shell {

namespace {

constexpr int kWidthTwips = 5415;
constexpr int kHeightTwips = 7230;
constexpr int kLabelLeft = 240;
constexpr int kLabelWidth = 4935;
constexpr int kWebLink = 1;
constexpr int kMailLink = 2;

constexpr QRgb kGreen = qRgb(0, 128, 0);
constexpr QRgb kDarkGreen = qRgb(0, 64, 0);
constexpr QRgb kLinkBlue = qRgb(0, 0, 255);
constexpr QRgb kLinkPressed = qRgb(128, 0, 0);
constexpr QRgb kLinkFace = qRgb(192, 192, 192);

bool IsLink(int index) {
    return index == kWebLink || index == kMailLink;
}

void SetTextColour(QLabel* label, QRgb colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(colour));
    label->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int top, int height,
                  int width = kLabelWidth) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setFocusPolicy(Qt::NoFocus);
    PlaceTwips(label, kLabelLeft, top, width, height);
    return label;
}

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

frmInfo::frmInfo(const InfoParameters& parameters, Desktop& desktop)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      parameters_(parameters), desktop_(desktop) {
    setObjectName(QStringLiteral("frmInfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Info"));
    setWindowIcon(ProgramIcon(Program::Info));
    setFont(WindowFont());
    setSizeGripEnabled(false);
    setFixedSize(SizeInTwips(kWidthTwips, kHeightTwips));
    // Neither minimise nor maximise: where the window manager offers them anyway, the dialog stays.
    RefuseWindowStates(this, Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);

    const auto addLabel = [this](int index, const QString& text, int top, int height,
                                 int width = kLabelWidth) {
        labels_[static_cast<std::size_t>(index)] =
            MakeLabel(this, QStringLiteral("lbl(%1)").arg(index), text, top, height, width);
        return labels_[static_cast<std::size_t>(index)];
    };

    QLabel* title = addLabel(0, parameters_.title, 240, 735);
    title->setFont(SansSerifFont(13.5, true));
    SetTextColour(title, kGreen);

    lblVersion = MakeLabel(this, QStringLiteral("lblVersion"), QStringLiteral("Version "), 960, 255);
    lblCopyright = MakeLabel(this, QStringLiteral("lblCopyright"), Utf8(maker::kCopyright), 1200, 375);
    lblAutor = MakeLabel(this, QStringLiteral("lblAutor"), Utf8(maker::kName), 1560, 375);
    for (QLabel* label : {lblCopyright, lblAutor}) {
        label->setFont(SansSerifFont(13.5, true));
        SetTextColour(label, kDarkGreen);
    }

    QLabel* web = addLabel(kWebLink, Utf8(maker::kWebAddress), 2040, 375, parameters_.linkWidthTwips);
    QLabel* mail = addLabel(kMailLink, Utf8(maker::kMailAddress), 2400, 375, parameters_.linkWidthTwips);
    for (QLabel* link : {web, mail}) {
        link->setFont(ArialFont(12, true));
        link->setAutoFillBackground(true);
        QPalette palette = link->palette();
        palette.setColor(QPalette::Window, QColor(kLinkFace));
        palette.setColor(QPalette::WindowText, QColor(kLinkBlue));
        link->setPalette(palette);
    }
    // The hand is stored with the web link; the load step hands it on to the mail link.
    web->setCursor(HandPointer());

    addLabel(3, QStringLiteral("Oder schreiben sie mir:"), 2760, 255)->setFont(ArialFont(12));
    addLabel(4, Utf8(maker::kName), 3000, 255)->setFont(ArialFont(12));
    addLabel(5, Utf8(maker::kStreet), 3240, 255)->setFont(ArialFont(12));
    addLabel(6, Utf8(maker::kTown), 3480, 255)->setFont(ArialFont(12));
    addLabel(7, QStringLiteral("Ich freue mich auf ihre Kommentare und Anregungen."), 3840, 615)
        ->setFont(SansSerifFont(12));
    addLabel(25, Utf8(maker::kFreeware), 4680, 855);
    addLabel(26, Utf8(maker::kTrademarks), 5400, 855);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    PlaceTwips(cmdOK, 1800, 6480, 1755, 495);
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdOK->setFocusPolicy(Qt::StrongFocus);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmInfo::on_cmdOK_clicked);

    for (QLabel* label : labels_)
        if (label)
            label->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Form_Load();
}

QLabel* frmInfo::lbl(int index) const {
    if (index < 0 || index >= static_cast<int>(labels_.size()))
        return nullptr;
    return labels_[static_cast<std::size_t>(index)];
}

QByteArray frmInfo::mailAddressText() const {
    // Handed over as it is, not percent-encoded: the title goes as Windows-1252 bytes.
    return QByteArray("mailto:") + maker::kMailAddress +
           "?Subject=" + QByteArray::fromStdString(BytesOfDisplayText(parameters_.title)) + " v" +
           QByteArray::number(parameters_.major) + "." + QByteArray::number(parameters_.minor);
}

int frmInfo::indexOf(const QObject* object) const {
    for (std::size_t i = 0; i < labels_.size(); ++i)
        if (labels_[i] && labels_[i] == object)
            return static_cast<int>(i);
    return -1;
}

bool frmInfo::eventFilter(QObject* watched, QEvent* event) {
    const int index = indexOf(watched);
    if (index < 0)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        pressedIndex_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton ? index : -1;
        on_lbl_MouseDown(index);
        return true;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is no new click: the link opens once.
        pressedIndex_ = -1;
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click =
            pressedIndex_ == index && mouse->button() == Qt::LeftButton &&
            labels_[static_cast<std::size_t>(index)]->rect().contains(mouse->position().toPoint());
        pressedIndex_ = -1;
        on_lbl_MouseUp(index);
        if (click)
            on_lbl_Click(index);
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void frmInfo::Form_Load() {
    lbl(kMailLink)->setCursor(lbl(kWebLink)->cursor());
    lblVersion->setText(lblVersion->text() + QString::number(parameters_.major) + QLatin1Char('.') +
                        QString::number(parameters_.minor));
}

void frmInfo::on_lbl_MouseDown(int index) {
    if (IsLink(index))
        SetTextColour(lbl(index), kLinkPressed);
}

void frmInfo::on_lbl_MouseUp(int index) {
    if (IsLink(index))
        SetTextColour(lbl(index), kLinkBlue);
}

void frmInfo::on_lbl_Click(int index) {
    RunCommand(desktop_, parameters_.title, [&] {
        if (index == kWebLink)
            desktop_.openAddress(QByteArray(maker::kWebAddress));
        else if (index == kMailLink)
            desktop_.openAddress(mailAddressText());
    });
}

void frmInfo::on_cmdOK_clicked() {
    close();
}

void ShowInfo(QPointer<frmInfo>& dialog, const InfoParameters& parameters, Desktop& desktop) {
    SetHourglass();
    if (!dialog)
        dialog = new frmInfo(parameters, desktop); // owns itself: deleted when closed (WA_DeleteOnClose)
    // An open dialog that the user minimised is shown again, not left as an icon.
    dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    SetNormalPointer();
}

} // namespace shell
