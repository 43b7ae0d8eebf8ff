#include "gui/shell/controls.h"
#include "gui/shell/sorted_list_box.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

const QString kLongEntry = QStringLiteral("Classes\\ADwin_DOChannel_Ausgabe_Digital.cls");
const QString kLongTwin = QStringLiteral("Classes\\ADwin_DOChannel_Eingabe_Digital.cls");

// Asks `widget` for its tooltip at `at`, as the pointer resting there does; the text shown, or empty text.
QString ToolTipAt(QWidget* widget, QPoint at) {
    QHelpEvent request(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &request);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

class WholeTextTip : public testing::Test {
protected:
    void SetUp() override {
        window.resize(632, 393);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override { QToolTip::hideText(); }

    QWidget window;
};

TEST_F(WholeTextTip, ListEntriesCutByTheListsWidthShowTheirWholeText) {
    auto* list = new shell::SortedListBox(&window); // the width of the counter's lists
    list->setGeometry(16, 128, 145, 199);
    for (const QString& text : {QStringLiteral("Haupt.frm"), kLongEntry, kLongTwin})
        list->addEntry(text);
    list->show();
    const auto at = [&](int row) { return list->visualItemRect(list->item(row)).center(); };

    // Entries that fit and the space below them ask for no tooltip. (A tooltip once shown disappears after
    // a delay, so these come first.)
    EXPECT_EQ(ToolTipAt(list->viewport(), at(2)), QString());
    EXPECT_EQ(ToolTipAt(list->viewport(), QPoint(10, list->viewport()->height() - 5)), QString());
    EXPECT_EQ(ToolTipAt(list->viewport(), at(0)), kLongEntry); // two entries that read alike when cut
    EXPECT_EQ(ToolTipAt(list->viewport(), at(1)), kLongTwin);
}

TEST_F(WholeTextTip, TextBoxesShowTheirWholeTextWhenCut) {
    QLineEdit* txtP = shell::NewTextBox(&window, "txtP", {240, 1440, 6735, 285});
    txtP->show();
    txtP->setText(QStringLiteral("/home/anna/Projekt.vbp"));
    EXPECT_EQ(ToolTipAt(txtP, txtP->rect().center()), QString());

    const QString path = QStringLiteral("/home/anna/Projekte/Kundenverwaltung/Version 2/Quellen/Haupt/") +
                         QStringLiteral("Kundenverwaltung mit Auftragsverwaltung.vbp");
    txtP->setText(path);
    EXPECT_EQ(ToolTipAt(txtP, txtP->rect().center()), path);
}

TEST_F(WholeTextTip, TextThatLooksLikeMarkupStaysText) {
    QLineEdit* txtAD = shell::NewTextBox(&window, "txtAD", {240, 3360, 5535, 285});
    txtAD->show();
    txtAD->setText(
        QStringLiteral("<b>fett</b> und <i>schräg</i>: eine Ausgabe - Datei mit sehr langem Namen.txt"));
    const QString tip = ToolTipAt(txtAD, txtAD->rect().center());
    EXPECT_TRUE(tip.contains("&lt;b&gt;fett&lt;/b&gt;")) << tip.toStdString();
}

} // namespace
