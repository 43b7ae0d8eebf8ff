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

// A list filled afresh marks its first entry when it takes the focus, or none before it ever had it; the
// first key that moves the selection selects as in any list box, the first entry included.
class FreshListKeyboard : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        list.resize(200, 60); // room for about two entries: Page Up and Page Down move by a page
        for (const char* text : {"e", "a", "c", "b", "d", "f"})
            list.addEntry(QString::fromUtf8(text));
        list.show();
        if (GetParam()) {
            list.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
            list.setFocus(Qt::TabFocusReason);
            ASSERT_EQ(list.currentItem(), list.item(0));
        } else {
            ASSERT_EQ(list.currentItem(), nullptr);
        }
        ASSERT_TRUE(list.selectedItems().isEmpty());
    }

    // The entry that one key selects in the fresh list, and how often the list reported a selection.
    std::pair<QString, int> afterKey(Qt::Key key) {
        QTest::keyClick(&list, key);
        return {list.selectedText(), static_cast<int>(made.count())};
    }

    shell::SortedListBox list{nullptr};
    QSignalSpy made{&list, &shell::SortedListBox::selectionMade};
};

TEST_P(FreshListKeyboard, UpDownHomeAndPageUpSelectTheFirstEntry) {
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_PageUp}) {
        SCOPED_TRACE(key);
        list.clearSelection();
        list.setCurrentItem(GetParam() ? list.item(0) : nullptr, QItemSelectionModel::NoUpdate);
        made.clear();
        EXPECT_EQ(afterKey(key), std::make_pair(QString("a"), 1));
    }
}

TEST_P(FreshListKeyboard, EndSelectsTheLastEntry) {
    EXPECT_EQ(afterKey(Qt::Key_End), std::make_pair(QString("f"), 1));
}

TEST_P(FreshListKeyboard, PageDownSelectsAnEntryFurtherDown) {
    const auto [text, reports] = afterKey(Qt::Key_PageDown);
    EXPECT_GT(text, QString("a"));
    EXPECT_EQ(reports, 1);
}

TEST_P(FreshListKeyboard, OnceSelectedEveryKeyMovesFromTheSelection) {
    EXPECT_EQ(afterKey(Qt::Key_Down), std::make_pair(QString("a"), 1));
    EXPECT_EQ(afterKey(Qt::Key_Down), std::make_pair(QString("b"), 2));
    EXPECT_EQ(afterKey(Qt::Key_Up), std::make_pair(QString("a"), 3));
    EXPECT_EQ(afterKey(Qt::Key_Up), std::make_pair(QString("a"), 3)); // at the top: no move, no report
    EXPECT_EQ(afterKey(Qt::Key_End), std::make_pair(QString("f"), 4));
    EXPECT_EQ(afterKey(Qt::Key_PageUp).second, 5);
    EXPECT_LT(list.selectedText(), QString("f"));
    EXPECT_EQ(afterKey(Qt::Key_Home), std::make_pair(QString("a"), 6));
}

INSTANTIATE_TEST_SUITE_P(FocusedOrNot, FreshListKeyboard, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "TabbedInto" : "NeverFocused";
                         });

} // namespace
