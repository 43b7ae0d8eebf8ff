#pragma once
// A single-selection list box that keeps its entries sorted alphabetically without regard to case
// (German collation); equal entries keep the order in which they were added. It reports each selection
// the user makes, by mouse or keyboard, once, also a click on the entry that is already selected; a click
// on the empty space below the entries is no selection. Dragging over the entries with the button held
// selects the entry under the pointer, and each such change is reported too. An entry that the list's
// width cuts shows its whole text as a tooltip.

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

signals:
    // The user selected an entry (clicked one, or moved the selection with the keyboard).
    void selectionMade();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // True when the entry is wider than the part of it the list shows.
    bool entryIsCut(const QListWidgetItem* entry) const;

    QCollator collator_;
};

} // namespace shell
