#pragma once

#include <QColor>
#include <QDialog>
#include <initializer_list>

class QHBoxLayout;
class QPushButton;

namespace ravelfin {

/// The base of every dialog and page: one solid background colour, pale green unless the
/// window chooses another. Labels, check boxes and radio buttons draw transparently on it;
/// edit boxes and lists keep the platform colours.
class SkinnedDialog : public QDialog {
    Q_OBJECT
  public:
    /// A dialog window. (QDialog turns window flags without a window type into a dialog
    /// window, so pages use the constructor below.)
    explicit SkinnedDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    struct PageTag {};
    /// A page: a child widget placed inside its parent's window rather than a window.
    SkinnedDialog(QWidget* parent, PageTag);

    void SetBackground(const QColor& color);
    QColor Background() const { return background_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    /// A dialog window never stands out of the screen's available area.
    void showEvent(QShowEvent* event) override;

  private:
    QColor background_;
};

/// A row with these buttons side by side in its middle, as every dialog's buttons stand.
QHBoxLayout* CenteredButtonRow(std::initializer_list<QPushButton*> buttons);

}  // namespace ravelfin
