#include "gui/shell/sorted_list_box.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SortedListBoxOrder, GermanAndCaseInsensitive) {
    shell::SortedListBox list(nullptr);
    for (const char* caption :
         {"Formulare", "Module", "Klassenmodule", "Benutzersteuerelemente", "Eigenschaftenseiten"})
        list.addEntry(QString::fromUtf8(caption));
    EXPECT_EQ(list.entries(), (QStringList{"Benutzersteuerelemente", "Eigenschaftenseiten", "Formulare",
                                           "Klassenmodule", "Module"}));

    shell::SortedListBox types(nullptr);
    for (const char* type : {"VB.ListBox", "vb.label", "VB.Label", "ÄnderungsBox", "Zeile", "abc"})
        types.addEntry(QString::fromUtf8(type));
    EXPECT_EQ(types.entries(), (QStringList{"abc", QString::fromUtf8("ÄnderungsBox"), "vb.label", "VB.Label",
                                            "VB.ListBox", "Zeile"}));
}

TEST(SortedListBoxOrder, EqualEntriesKeepTheirInsertionOrder) {
    shell::SortedListBox list(nullptr);
    for (const char* text : {"b", "Datei", "a", "DATEI", "datei", "Datei"})
        list.addEntry(QString::fromUtf8(text));
    EXPECT_EQ(list.entries(), (QStringList{"a", "b", "Datei", "DATEI", "datei", "Datei"}));
}

class SortedListBoxSelection : public testing::Test {
protected:
    void SetUp() override {
        list.resize(200, 200);
        for (const char* text : {"Klassenmodule", "Formulare", "Module"})
            list.addEntry(QString::fromUtf8(text));
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    }

    void clickEntry(int row) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
    }

    shell::SortedListBox list{nullptr};
    QSignalSpy made{&list, &shell::SortedListBox::selectionMade};
};

TEST_F(SortedListBoxSelection, OncePerClickOnAnEntryAlsoTheSelectedOne) {
    clickEntry(1);
    EXPECT_EQ(made.count(), 1);
    EXPECT_EQ(list.selectedText(), "Klassenmodule");
    clickEntry(1);
    EXPECT_EQ(made.count(), 2);
    EXPECT_EQ(list.selectedText(), "Klassenmodule");
    clickEntry(2);
    EXPECT_EQ(made.count(), 3);
    EXPECT_EQ(list.selectedText(), "Module");
}

TEST_F(SortedListBoxSelection, ClickBelowTheEntriesIsNoSelection) {
    const QRect last = list.visualItemRect(list.item(2));
    ASSERT_LT(last.bottom() + 20, list.viewport()->height());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 20));
    EXPECT_EQ(made.count(), 0);
    EXPECT_EQ(list.selectedText(), QString());

    clickEntry(0);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 20));
    EXPECT_EQ(made.count(), 1);
}

TEST_F(SortedListBoxSelection, DraggingToAnotherEntryReportsTheEntryItEndsOn) {
    const QPoint first = list.visualItemRect(list.item(0)).center();
    const QPoint last = list.visualItemRect(list.item(2)).center();
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(made.count(), 1);
    QMouseEvent move(QEvent::MouseMove, last, list.viewport()->mapToGlobal(last), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(list.viewport(), &move);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, last);
    EXPECT_EQ(list.selectedText(), "Module");
    EXPECT_EQ(made.count(), 2);

    // Moving without a button held selects nothing and reports nothing.
    QMouseEvent hover(QEvent::MouseMove, first, list.viewport()->mapToGlobal(first), Qt::NoButton,
                      Qt::NoButton, {});
    QApplication::sendEvent(list.viewport(), &hover);
    EXPECT_EQ(list.selectedText(), "Module");
    EXPECT_EQ(made.count(), 2);
}

TEST_F(SortedListBoxSelection, OncePerKeyboardMove) {
    clickEntry(0);
    ASSERT_EQ(made.count(), 1);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(made.count(), 2);
    EXPECT_EQ(list.selectedText(), "Klassenmodule");
    QTest::keyClick(&list, Qt::Key_End);
    EXPECT_EQ(made.count(), 3);
    EXPECT_EQ(list.selectedText(), "Module");
    QTest::keyClick(&list, Qt::Key_Down); // already at the end: no move
    EXPECT_EQ(made.count(), 3);
}

} // namespace
