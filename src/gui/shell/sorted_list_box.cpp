#include "gui/shell/sorted_list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace shell {

SortedListBox::SortedListBox(QWidget* parent) : QListWidget(parent), collator_(QLocale(QLocale::German)) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
}

void SortedListBox::addEntry(const QString& text) {
    // Binary search for the first entry that sorts after the new one, so equal entries keep their order.
    int low = 0;
    int high = count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (collator_.compare(item(mid)->text(), text) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    insertItem(low, text);
}

QStringList SortedListBox::entries() const {
    QStringList texts;
    texts.reserve(count());
    for (int i = 0; i < count(); ++i)
        texts << item(i)->text();
    return texts;
}

QString SortedListBox::selectedText() const {
    const auto selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.constFirst()->text();
}

void SortedListBox::mousePressEvent(QMouseEvent* event) {
    const bool onEntry = itemAt(event->position().toPoint()) != nullptr;
    QListWidget::mousePressEvent(event);
    if (onEntry && event->button() == Qt::LeftButton && currentItem() && currentItem()->isSelected())
        emit selectionMade();
}

void SortedListBox::mouseMoveEvent(QMouseEvent* event) {
    // With the button held the view moves the selection along; each entry it moves to is a selection.
    const QListWidgetItem* before = selectedItems().isEmpty() ? nullptr : selectedItems().constFirst();
    QListWidget::mouseMoveEvent(event);
    const QListWidgetItem* after = selectedItems().isEmpty() ? nullptr : selectedItems().constFirst();
    if (after && after != before && (event->buttons() & Qt::LeftButton))
        emit selectionMade();
}

void SortedListBox::keyPressEvent(QKeyEvent* event) {
    const QListWidgetItem* before = currentItem();
    const bool wasSelected = before && before->isSelected();
    QListWidget::keyPressEvent(event);
    const QListWidgetItem* after = currentItem();
    if (after && after->isSelected() && (after != before || !wasSelected))
        emit selectionMade();
}

} // namespace shell
