#include "dataedit/ui/field_list.h"

#include <QKeyEvent>

namespace ravelfin {

FieldList::FieldList(const QString& caption, QWidget* parent) : QListWidget(parent) {
    setAccessibleName(caption);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit Chosen(row(item)); });
}

void FieldList::SetLines(const QStringList& lines) {
    clear();
    addItems(lines);
}

void FieldList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Taken here, so that Enter never reaches the dialog's default button instead.
        event->accept();
        if (currentItem() != nullptr && currentItem()->isSelected())
            emit Chosen(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace ravelfin
