#pragma once
// A single-selection list box that keeps its entries sorted alphabetically without regard to case
// (German collation); equal entries keep the order in which they were added. It reports each selection
// the user makes, by mouse or keyboard, once, also a click on the entry that is already selected; a click
// on the empty space below the entries is no selection. Dragging over the entries with the button held
// selects the entry under the pointer, and each such change is reported too. An entry that the list's
// width cuts shows its whole text as a tooltip. Ctrl+C and the context menu's "Kopieren" copy the selected
// entry, "Alle kopieren" every entry, one per line. With the focus and no marked entry (an empty list
// above all) the list draws a focus frame of its own, since no entry shows the focus then.

#include <QCollator>
#include <QListWidget>

namespace shell {

class SortedListBox : public QListWidget {
    Q_OBJECT
public:
    explicit SortedListBox(QWidget* parent);

    // Inserts an entry at its sorted place.
    void addEntry(const QString& text);
    // The entries in the order shown.
    QStringList entries() const;
    // The text of the selected entry, or empty text.
    QString selectedText() const;

    // The context menu's actions: the selected entry, and the whole list one entry per line, to the
    // clipboard.
    QAction* copyAction() const { return copy_; }
    QAction* copyAllAction() const { return copyAll_; }

signals:
    // The user selected an entry (clicked one, or moved the selection with the keyboard).
    void selectionMade();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // True when the entry is wider than the part of it the list shows.
    bool entryIsCut(const QListWidgetItem* entry) const;

    QCollator collator_;
    QAction* copy_;
    QAction* copyAll_;
};

} // namespace shell
