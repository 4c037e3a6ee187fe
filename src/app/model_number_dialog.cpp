#include "app/model_number_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/rules/model_number.h"
#include "connection/messenger.h"
#include "controls/skinned_dialog.h"

namespace ravelfin {

namespace {
constexpr double kCornerDiameter = 80.0;
constexpr int kFrameWidth = 3;

QPainterPath Outline(const QRectF& area) {
    QPainterPath path;
    path.addRoundedRect(area, kCornerDiameter / 2, kCornerDiameter / 2);
    return path;
}
}  // namespace

ModelNumberDialog::ModelNumberDialog(Messenger& messenger, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      messenger_(messenger),
      model_(new QLineEdit),
      continue_(new QPushButton(QStringLiteral("Continue"))),
      cancel_(new QPushButton(QStringLiteral("Cancel"))) {
    setModal(true);
    setFixedSize(480, 210);

    auto* explanation = new QLabel(QStringLiteral(
        "The utility can't identify the correct interface for your reader. Please reconfirm "
        "that the connector and com port are correct, or enter reader model number below"));
    explanation->setWordWrap(true);
    QFont bold = explanation->font();
    bold.setBold(true);
    explanation->setFont(bold);

    auto* prompt = new QLabel(QStringLiteral("Model number:"));
    model_->setPlaceholderText(QStringLiteral("for example RX-44305..."));
    model_->setMaxLength(64);
    prompt->setBuddy(model_);

    for (QPushButton* button : {continue_, cancel_})
        button->setMinimumSize(110, 30);
    continue_->setDefault(true);
    connect(continue_, &QPushButton::clicked, this, &ModelNumberDialog::OnContinue);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* entry = new QHBoxLayout;
    entry->addWidget(prompt);
    entry->addWidget(model_, 1);
    auto* buttons = CenteredButtonRow({continue_, cancel_});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 28);
    layout->setSpacing(14);
    layout->addWidget(explanation);
    layout->addLayout(entry);
    layout->addStretch();
    layout->addLayout(buttons);
    model_->setFocus();
}

void ModelNumberDialog::OnContinue() {
    int type = 0;
    switch (CheckModelNumber(model_->text().toStdString(), type)) {
        case ModelNumberCheck::kEmpty:
            messenger_.ShowMessage("Please Input Model Number!");
            return;
        case ModelNumberCheck::kUnknown:
            messenger_.ShowMessage("Unknown Model Number!");
            return;
        case ModelNumberCheck::kAccepted:
            interfaceType_ = type;
            accept();
            return;
    }
}

void ModelNumberDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    setMask(QRegion(Outline(QRectF(rect())).toFillPolygon().toPolygon()));
}

void ModelNumberDialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const double inset = kFrameWidth / 2.0;
    painter.setPen(QPen(Qt::black, kFrameWidth));
    painter.drawPath(Outline(QRectF(rect()).adjusted(inset, inset, -inset, -inset)));
}

}  // namespace ravelfin
