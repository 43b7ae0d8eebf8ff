#include "gui/shell/sorted_list_box.h"

#include "gui/shell/whole_text_tip.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace shell {

SortedListBox::SortedListBox(QWidget* parent) : QListWidget(parent), collator_(QLocale(QLocale::German)) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);

    copy_ = new QAction(QStringLiteral("Kopieren"), this);
    copy_->setShortcut(QKeySequence::Copy);
    copy_->setShortcutContext(Qt::WidgetShortcut);
    copy_->setShortcutVisibleInContextMenu(true);
    copyAll_ = new QAction(QStringLiteral("Alle kopieren"), this);
    addAction(copy_);
    addAction(copyAll_);
    connect(copy_, &QAction::triggered, this, [this] {
        if (!selectedItems().isEmpty())
            QGuiApplication::clipboard()->setText(selectedText());
    });
    connect(copyAll_, &QAction::triggered, this, [this] {
        if (count() > 0)
            QGuiApplication::clipboard()->setText(entries().join(QLatin1Char('\n')));
    });
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

namespace {

bool MovesTheSelection(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

void SortedListBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copy_->trigger();
        event->accept();
        return;
    }
    QListWidgetItem* before = currentItem();
    const bool move = MovesTheSelection(event->key());
    // A list that never had the focus marks no entry: a move starts as if the first one were marked.
    if (move && !before && count() > 0) {
        before = item(0);
        setCurrentItem(before, QItemSelectionModel::NoUpdate);
    }
    const bool wasSelected = before && before->isSelected();
    // Without a selection the current entry is only marked (a freshly filled list that takes the focus
    // marks its first one): Up and Down select that entry instead of moving past it.
    if (move && before && !wasSelected && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down))
        event->accept();
    else
        QListWidget::keyPressEvent(event);

    QListWidgetItem* const after = currentItem();
    // A move that stays on the marked entry (Home or Page Up on the first one) selects it too.
    if (move && after && !after->isSelected())
        setCurrentItem(after, QItemSelectionModel::ClearAndSelect);
    if (after && after->isSelected() && (after != before || !wasSelected))
        emit selectionMade();
}

bool SortedListBox::entryIsCut(const QListWidgetItem* entry) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int needed = itemDelegate()->sizeHint(option, indexFromItem(entry)).width();
    return needed > visualItemRect(entry).intersected(viewport()->rect()).width();
}

bool SortedListBox::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QListWidget::viewportEvent(event);
    const auto& request = *static_cast<QHelpEvent*>(event);
    const QListWidgetItem* entry = itemAt(request.pos());
    AnswerWholeTextTip(request, viewport(), entry ? entry->text() : QString(), entry && entryIsCut(entry));
    return true;
}

void SortedListBox::contextMenuEvent(QContextMenuEvent* event) {
    copy_->setEnabled(!selectedItems().isEmpty());
    copyAll_->setEnabled(count() > 0);
    QMenu::exec(actions(), event->globalPos(), nullptr, this);
    copy_->setEnabled(true);
    copyAll_->setEnabled(true);
}

void SortedListBox::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    if (!hasFocus() || currentItem())
        return;
    // No entry carries the focus mark: the list's inside shows it instead.
    QPainter painter(viewport());
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = viewport()->rect().adjusted(1, 1, -1, -1);
    option.backgroundColor = palette().color(QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

} // namespace shell
