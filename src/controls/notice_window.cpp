#include "controls/notice_window.h"

#include <QPainter>

#include "controls/alert_accessible.h"
#include "controls/colors.h"
#include "controls/text_fit.h"

namespace ravelfin {

NoticeWindow::NoticeWindow(const QString& text, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), text_(text) {
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(420, 120);
    // The text is painted: screen readers get it as the window's name. The notice is often the
    // only answer to a refused click, so it is an alert, read out as it shows.
    setAccessibleName(text);
    QFont bold = font();
    bold.setPointSizeF(bold.pointSizeF() + 1.0);
    bold.setBold(true);
    setFont(bold);

    lifetime_.setSingleShot(true);
    lifetime_.setInterval(kLifetimeMilliseconds);
    connect(&lifetime_, &QTimer::timeout, this, &NoticeWindow::Finish);
}

void NoticeWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), colors::NoticeYellow());
    painter.setPen(QPen(QColor(150, 130, 40), 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const int margin = width() / 20;
    const QRect area = rect().adjusted(margin, 4, -margin, -4);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    painter.setFont(FitFont(font(), area, flags, text_));
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(area, flags, text_);
}

void NoticeWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (const QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->frameGeometry();
        move(area.center() - rect().center());
    }
    activateWindow();
    setFocus();
    AnnounceAlert(this);
    lifetime_.start();
}

void NoticeWindow::mousePressEvent(QMouseEvent* /*event*/) {
    Finish();
}

void NoticeWindow::keyPressEvent(QKeyEvent* /*event*/) {
    Finish();
}

void NoticeWindow::Finish() {
    lifetime_.stop();
    if (finished_)
        return;
    finished_ = true;
    emit Finished();
}

}  // namespace ravelfin
