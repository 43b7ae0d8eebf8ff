#include "gui/shell/frm_info.h"

#include "fake_desktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const shell::InfoParameters kTallimar{QStringLiteral("Tallimar"), 1, 1, 4935};
const shell::InfoParameters kFugabar{QStringLiteral("Fugabar"), 1, 2, 5055};

const QColor kBlue(0, 0, 255);
const QColor kDarkRed(128, 0, 0);

QColor TextColour(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

// Lets closed dialogs be deleted, as the event loop would.
void DeleteClosed() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int OpenInfoDialogs() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<shell::frmInfo*>(widget) != nullptr ? 1 : 0;
    return count;
}

class InfoDialog : public testing::Test {
protected:
    void TearDown() override {
        delete dialog.data();
        DeleteClosed();
    }

    shell::frmInfo& show(const shell::InfoParameters& parameters = kTallimar) {
        shell::ShowInfo(dialog, parameters, desktop);
        EXPECT_TRUE(dialog);
        return *dialog;
    }

    vbtest::FakeDesktop desktop;
    QPointer<shell::frmInfo> dialog;
};

TEST_F(InfoDialog, ShowingTwiceKeepsOneDialogAndBringsItForward) {
    shell::frmInfo& first = show();
    EXPECT_TRUE(first.isVisible());
    EXPECT_EQ(first.parent(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    QWidget mainWindow;
    mainWindow.show();
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));

    shell::frmInfo& second = show();
    EXPECT_EQ(&second, &first);
    EXPECT_EQ(OpenInfoDialogs(), 1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&first));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(first.lblVersion->text(), "Version 1.1");
}

TEST_F(InfoDialog, ShowingAMinimisedDialogRestoresItAndBringsItForward) {
    shell::frmInfo& info = show();
    info.showMinimized();
    ASSERT_TRUE(info.isMinimized());
    QWidget mainWindow;
    mainWindow.show();
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));

    EXPECT_EQ(&show(), &info);
    EXPECT_FALSE(info.isMinimized());
    EXPECT_TRUE(info.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&info));
    EXPECT_EQ(info.size(), QSize(361, 482));
    EXPECT_EQ(info.lblVersion->text(), "Version 1.1");
}

// Without minimise and maximise buttons: where a window manager minimises or maximises the dialog anyway,
// it returns as it was.
TEST_F(InfoDialog, ReturnsFromMinimisedAndMaximisedByItself) {
    shell::frmInfo& info = show();
    info.showMinimized();
    QTest::qWait(50);
    EXPECT_FALSE(info.isMinimized());
    EXPECT_TRUE(info.isVisible());
    info.showMaximized();
    QTest::qWait(50);
    EXPECT_FALSE(info.isMaximized());
    EXPECT_EQ(info.size(), QSize(361, 482));
}

TEST_F(InfoDialog, ClosedDialogIsDiscardedAndShowsItsVersionOnceWhenReopened) {
    EXPECT_EQ(show().lblVersion->text(), "Version 1.1");
    dialog->cmdOK->click();
    DeleteClosed();
    EXPECT_FALSE(dialog);
    EXPECT_EQ(OpenInfoDialogs(), 0);

    EXPECT_EQ(show().lblVersion->text(), "Version 1.1");
    dialog->close(); // the close box
    DeleteClosed();
    EXPECT_FALSE(dialog);

    EXPECT_EQ(show(kFugabar).lblVersion->text(), "Version 1.2");
    EXPECT_EQ(dialog->lbl(0)->text(), "Fugabar");
}

TEST_F(InfoDialog, EscapeAndEnterCloseIt) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key);
        shell::frmInfo& info = show();
        QTest::keyClick(&info, key);
        DeleteClosed();
        EXPECT_FALSE(dialog);
    }
}

TEST_F(InfoDialog, OnlyOkTakesTheFocus) {
    shell::frmInfo& info = show();
    EXPECT_TRUE(info.cmdOK->isDefault());
    for (const QWidget* child : info.findChildren<QWidget*>())
        EXPECT_EQ(child->focusPolicy() != Qt::NoFocus, child == info.cmdOK)
            << child->objectName().toStdString();
}

TEST_F(InfoDialog, LinksTurnDarkRedWhileHeldAndBlueOnRelease) {
    shell::frmInfo& info = show();
    for (const int index : {1, 2}) {
        SCOPED_TRACE(index);
        QLabel* link = info.lbl(index);
        const QPoint inside = link->rect().center();
        EXPECT_EQ(TextColour(link), kBlue);
        QTest::mousePress(link, Qt::LeftButton, {}, inside);
        EXPECT_EQ(TextColour(link), kDarkRed);
        QTest::mouseRelease(link, Qt::LeftButton, {}, inside);
        EXPECT_EQ(TextColour(link), kBlue);

        // Released outside the label: blue again, and nothing opened.
        desktop.openedAddresses.clear();
        QTest::mousePress(link, Qt::LeftButton, {}, inside);
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(inside.x(), link->height() + 40));
        EXPECT_EQ(TextColour(link), kBlue);
        EXPECT_TRUE(desktop.openedAddresses.empty());
    }
}

TEST_F(InfoDialog, LinkClicksOpenTheWebPageAndAMailNamingProductAndVersion) {
    shell::frmInfo& tallimar = show();
    QTest::mouseClick(tallimar.lbl(1), Qt::LeftButton);
    QTest::mouseClick(tallimar.lbl(2), Qt::LeftButton);
    tallimar.close();
    DeleteClosed();

    shell::frmInfo& fugabar = show(kFugabar);
    QTest::mouseClick(fugabar.lbl(2), Qt::LeftButton);

    ASSERT_EQ(desktop.openedAddresses.size(), 3u);
    EXPECT_EQ(desktop.openedAddresses[0], "https://www.example.org/vbtools");
    EXPECT_EQ(desktop.openedAddresses[1], "mailto:vbtools@example.org?Subject=Tallimar v1.1");
    EXPECT_EQ(desktop.openedAddresses[2], "mailto:vbtools@example.org?Subject=Fugabar v1.2");
}

TEST(InfoMailText, TitleGoesAsWindows1252BytesWithoutEncoding) {
    vbtest::FakeDesktop desktop;
    shell::frmInfo info({QStringLiteral("Zähler €"), 2, 10, 4935}, desktop);
    EXPECT_EQ(info.mailAddressText(), QByteArray("mailto:vbtools@example.org?Subject=Z\xE4hler \x80 v2.10"));
}

TEST_F(InfoDialog, OtherLabelsNeitherChangeColourNorOpenAnything) {
    shell::frmInfo& info = show();
    std::vector<QLabel*> labels = {info.lblVersion, info.lblCopyright, info.lblAutor};
    for (const int index : {0, 3, 4, 5, 6, 7, 25, 26})
        labels.push_back(info.lbl(index));
    for (QLabel* label : labels) {
        SCOPED_TRACE(label->objectName().toStdString());
        ASSERT_NE(label, nullptr);
        const QColor before = TextColour(label);
        QTest::mousePress(label, Qt::LeftButton);
        EXPECT_EQ(TextColour(label), before);
        QTest::mouseRelease(label, Qt::LeftButton);
        EXPECT_EQ(TextColour(label), before);
    }
    EXPECT_TRUE(desktop.openedAddresses.empty());
    EXPECT_EQ(info.lbl(8), nullptr);
    EXPECT_EQ(info.lbl(27), nullptr);
}

TEST_F(InfoDialog, LayoutInTwipsCentredOnTheScreen) {
    shell::frmInfo& info = show();
    EXPECT_EQ(info.windowTitle(), "Info");
    EXPECT_EQ(info.size(), QSize(361, 482)); // 5415 x 7230 twips
    EXPECT_EQ(info.minimumSize(), info.maximumSize());
    EXPECT_FALSE(info.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(info.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(info.windowIcon().isNull());
    // Centred up to the window frame, which the dialog cannot know before it is shown.
    const QPoint offCentre =
        info.frameGeometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 10);

    EXPECT_EQ(info.lbl(0)->geometry(), QRect(16, 16, 329, 49));
    EXPECT_EQ(info.lblAutor->geometry(), QRect(16, 104, 329, 25));
    EXPECT_EQ(info.lbl(1)->geometry(), QRect(16, 136, 329, 25));
    EXPECT_EQ(info.lbl(26)->geometry(), QRect(16, 360, 329, 57));
    EXPECT_EQ(info.cmdOK->geometry(), QRect(120, 432, 117, 33));
    EXPECT_EQ(info.lbl(7)->text(), "Ich freue mich auf ihre Kommentare und Anregungen.");
    EXPECT_EQ(info.lbl(3)->text(), "Oder schreiben sie mir:");
    EXPECT_TRUE(info.lbl(25)->wordWrap());
    EXPECT_TRUE(info.lbl(25)->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(info.lbl(1)->font().pointSizeF(), 12);
    EXPECT_TRUE(info.lbl(1)->font().underline());
    EXPECT_EQ(info.lbl(1)->palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(TextColour(info.lbl(0)), QColor(0, 128, 0));
    EXPECT_EQ(TextColour(info.lblCopyright), QColor(0, 64, 0));
    EXPECT_TRUE(info.lbl(0)->font().bold());
}

TEST_F(InfoDialog, LinkWidthIsTheProgramsAndBothLinksShowTheHand) {
    shell::frmInfo& tallimar = show();
    EXPECT_EQ(tallimar.lbl(1)->width(), 329); // 4935 twips
    EXPECT_EQ(tallimar.lbl(2)->width(), 329);
    tallimar.close();
    DeleteClosed();

    shell::frmInfo& fugabar = show(kFugabar);
    EXPECT_EQ(fugabar.lbl(1)->width(), 337); // 5055 twips
    EXPECT_EQ(fugabar.lbl(2)->geometry(), QRect(16, 160, 337, 25));
    for (const int index : {1, 2}) {
        EXPECT_EQ(fugabar.lbl(index)->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(fugabar.lbl(index)->cursor().pixmap().size(), QSize(32, 32));
    }
    EXPECT_EQ(fugabar.lbl(0)->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(InfoDialog, NoticesSayWhatTheMitLicenceAllowsAndFitTheirLabels) {
    shell::frmInfo& info = show();
    const QString freeware = info.lbl(25)->text();
    EXPECT_TRUE(freeware.contains("MIT-Lizenz")) << freeware.toStdString();
    EXPECT_TRUE(freeware.contains(QString::fromUtf8("verändert"))) << freeware.toStdString();
    EXPECT_FALSE(freeware.contains(QString::fromUtf8("unverändert"))) << freeware.toStdString();
    EXPECT_TRUE(info.lbl(26)->text().contains(QString::fromUtf8("Gewährleistung")));
    for (const int index : {25, 26}) {
        const QLabel* notice = info.lbl(index);
        EXPECT_LE(notice->heightForWidth(notice->width()), notice->height()) << index;
    }
}

} // namespace
