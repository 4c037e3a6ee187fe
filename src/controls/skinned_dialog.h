#pragma once

#include <QColor>
#include <QDialog>

namespace ravelfin {

/// The base of every dialog and page: one solid background colour, pale green unless the
/// window chooses another. Labels, check boxes and radio buttons draw transparently on it;
/// edit boxes and lists keep the platform colours.
class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    explicit SkinnedDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    void SetBackground(const QColor& color);
    QColor Background() const { return background_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor background_;
};

}  // namespace ravelfin
