#include "controls/editable_grid.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

namespace ravelfin {

EditableGrid::EditableGrid(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QTableWidget::cellClicked, this, &EditableGrid::BeginEdit);
    // Scrolling takes the focus, which ends an edit in progress.
    const auto takeFocus = [this] {
        if (editor_)
            setFocus(Qt::OtherFocusReason);
    };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, takeFocus);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, takeFocus);
}

void EditableGrid::SetColumnKind(int column, CellKind kind, const QStringList& choices) {
    kinds_[column] = kind;
    choices_[column] = choices;
}

EditableGrid::CellKind EditableGrid::ColumnKind(int column) const {
    return kinds_.value(column, CellKind::ReadOnly);
}

bool EditableGrid::BeginEdit(int row, int column) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return false;
    const CellKind kind = ColumnKind(column);
    if (kind == CellKind::ReadOnly)
        return false;
    if (const QTableWidgetItem* cell = item(row, column);
        cell && !(cell->flags() & Qt::ItemIsEditable)) {
        return false;
    }
    if (editor_) {
        // The click that got here took the focus from the open editor: end that edit first.
        FinishEdit();
        if (editor_)
            return false;
    }

    row_ = row;
    column_ = column;
    escaped_ = false;
    const QTableWidgetItem* cell = item(row, column);
    const QString current = cell ? cell->text() : QString();
    emit EditBegan(row, column);

    if (kind == CellKind::Text) {
        auto* line = new QLineEdit(current, viewport());
        line->selectAll();  // typing replaces the value, as in any edit box entered
        connect(line, &QLineEdit::textChanged, this, &EditableGrid::PlaceEditor);
        editor_ = line;
    } else {
        auto* combo = new QComboBox(viewport());
        combo->addItems(choices_.value(column));
        combo->setCurrentIndex(std::max(0, combo->findText(current)));
        connect(combo, &QComboBox::activated, this, [this] { setFocus(Qt::OtherFocusReason); });
        editor_ = combo;
        QTimer::singleShot(0, combo, [combo] {
            if (combo->isVisible())
                combo->showPopup();
        });
    }
    editor_->installEventFilter(this);
    PlaceEditor();
    editor_->show();
    editor_->setFocus(Qt::MouseFocusReason);
    return true;
}

void EditableGrid::PlaceEditor() {
    if (!editor_)
        return;
    QRect cell = visualRect(model()->index(row_, column_));
    if (auto* line = qobject_cast<QLineEdit*>(editor_.data())) {
        const int wanted = line->fontMetrics().horizontalAdvance(line->text()) + 16;
        const int room = std::max(cell.width(), viewport()->width() - cell.left());
        cell.setWidth(std::clamp(wanted, cell.width(), room));
    }
    editor_->setGeometry(cell);
}

void EditableGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (!editor_ && (key == Qt::Key_F2 || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        BeginEdit(currentRow(), currentColumn());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void EditableGrid::scrollContentsBy(int dx, int dy) {
    QTableWidget::scrollContentsBy(dx, dy);
    PlaceEditor();
}

bool EditableGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editor_)
        return QTableWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            escaped_ = key == Qt::Key_Escape;
            setFocus(Qt::OtherFocusReason);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // The drop-down's own list takes the focus for a moment; that is not leaving it.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            QTimer::singleShot(0, this, &EditableGrid::FinishEdit);
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

void EditableGrid::FinishEdit() {
    if (!editor_ || editor_->hasFocus())
        return;
    if (auto* line = qobject_cast<QLineEdit*>(editor_.data())) {
        if (line->text().isEmpty()) {
            line->setFocus(Qt::OtherFocusReason);
            return;
        }
        const QString text = line->text();
        const int row = row_, column = column_;
        CloseEditor();
        emit EditEnded(row, column, true, text);
        return;
    }
    auto* combo = qobject_cast<QComboBox*>(editor_.data());
    const QString text = combo ? combo->currentText() : QString();
    const bool hasValue = !escaped_;
    const int row = row_, column = column_;
    CloseEditor();
    emit EditEnded(row, column, hasValue, hasValue ? text : QString());
}

void EditableGrid::CloseEditor() {
    if (!editor_)
        return;
    QWidget* editor = editor_;
    editor_ = nullptr;
    editor->removeEventFilter(this);
    editor->hide();
    editor->deleteLater();
}

}  // namespace ravelfin
