#include "controls/message_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/alert_accessible.h"
#include "controls/colors.h"

namespace ravelfin {

namespace {
// A single line this short stands in the middle of the box when moved down a little.
constexpr int kShortTextLength = 60;
constexpr int kShortTextDrop = 10;
}  // namespace

MessageDialog::MessageDialog(const QString& text, QWidget* parent)
    : SkinnedDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      label_(new QLabel(text, this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)) {
    setModal(true);
    setFixedSize(440, 116);
    // An untitled box: screen readers name it by its text, as a platform message box without a
    // caption, and read it out as it shows.
    setAccessibleName(text);
    // White stands out from the pale green pages the message usually covers.
    SetBackground(Qt::white);

    label_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label_->setWordWrap(true);
    label_->setTextFormat(Qt::PlainText);
    QFont font = label_->font();
    font.setBold(true);
    label_->setFont(font);

    ok_->setDefault(true);
    ok_->setFixedSize(96, 28);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = CenteredButtonRow({ok_});

    auto* layout = new QVBoxLayout(this);
    const int top = text.size() < kShortTextLength ? 16 + kShortTextDrop : 16;
    layout->setContentsMargins(16, top, 16, 12);
    layout->addWidget(label_, 1);
    layout->addLayout(buttons);

    autoClose_.setSingleShot(true);
    autoClose_.setInterval(kAutoCloseMilliseconds);
    connect(&autoClose_, &QTimer::timeout, ok_, &QPushButton::click);
}

QString MessageDialog::Text() const {
    return label_->text();
}

void MessageDialog::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    ok_->setFocus();
    AnnounceAlert(this);
    autoClose_.start();
}

void MessageDialog::paintEvent(QPaintEvent* event) {
    SkinnedDialog::paintEvent(event);
    // Without a caption bar the box needs a frame of its own to stand out.
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), 6), colors::AccentGreen());
    painter.setPen(QPen(colors::DeepGreen(), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void RunMessageDialog(QWidget* parent, const QString& text) {
    MessageDialog dialog(text, parent);
    dialog.exec();
}

}  // namespace ravelfin
