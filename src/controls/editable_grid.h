#pragma once

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTableWidget>

namespace ravelfin {

/// A report-style list whose cells are edited in place. Each column is read-only, free
/// text, or a choice from a fixed list. A click on an editable cell opens a line edit
/// (which widens with its text) or a drop-down list over it. Enter and Escape, and
/// scrolling, give the focus back to the grid; when the cell editor loses the focus the
/// owner is told that the edit ended. A text cell reports only a non-empty text and
/// otherwise keeps the focus; a drop-down left with Escape reports no value.
///
/// A cell whose item is not editable (Qt::ItemIsEditable cleared) stays read-only in an
/// editable column. F2, Enter or Return opens the editor of the current cell from the keyboard.
///
/// The grid does not write the reported text into the cell: the owner checks it first.
class EditableGrid final : public QTableWidget {
    Q_OBJECT
  public:
    enum class CellKind { ReadOnly, Text, Choice };

    explicit EditableGrid(QWidget* parent = nullptr);

    void SetColumnKind(int column, CellKind kind, const QStringList& choices = {});
    CellKind ColumnKind(int column) const;

    /// Opens the editor of a cell as a click on it does. Returns false for a read-only
    /// column or cell, or one outside the grid.
    bool BeginEdit(int row, int column);
    /// The open cell editor (a QLineEdit or a QComboBox), or nullptr.
    QWidget* Editor() const { return editor_; }

  signals:
    void EditBegan(int row, int column);
    /// `hasValue` is false when a drop-down was left with Escape.
    void EditEnded(int row, int column, bool hasValue, const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void FinishEdit();
    void PlaceEditor();
    void CloseEditor();

    QHash<int, CellKind> kinds_;
    QHash<int, QStringList> choices_;
    QPointer<QWidget> editor_;
    int row_ = -1;
    int column_ = -1;
    bool escaped_ = false;
};

}  // namespace ravelfin
