#pragma once

#include <QListWidget>
#include <QStringList>

namespace ravelfin {

/// A list of fields from which the user picks one: a double-click on a line, or Enter on
/// the selected line, chooses it. Each line's accessible text is the text it shows.
class FieldList final : public QListWidget {
    Q_OBJECT
  public:
    /// `caption` is the caption of the list's label, its accessible name.
    explicit FieldList(const QString& caption, QWidget* parent = nullptr);

    /// Replaces every line.
    void SetLines(const QStringList& lines);

  signals:
    /// The line at `row` was chosen.
    void Chosen(int row);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ravelfin
