#include "advanced/manual_command_page.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "connection/connection.h"
#include "controls/skinned_dialog.h"

namespace ravelfin {

namespace {
QLabel* Caption(const QString& text, QWidget* buddy = nullptr) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    if (buddy) {
        label->setBuddy(buddy);
        buddy->setAccessibleName(text);
    }
    return label;
}
}  // namespace

ManualCommandPage::ManualCommandPage(Connection& connection, Messenger& messages,
                                     std::function<void()> refreshEditors, QWidget* parent)
    : SkinnedPage(parent),
      connection_(connection),
      messages_(messages),
      refreshEditors_(std::move(refreshEditors)),
      command_(new QLineEdit),
      response_(new QPlainTextEdit),
      send_(new QPushButton(QStringLiteral("Send Command"))),
      clear_(new QPushButton(QStringLiteral("Clr S/R Data"))) {
    response_->setReadOnly(true);
    response_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    response_->setTabChangesFocus(true);
    response_->setFocusPolicy(Qt::StrongFocus);
    response_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    response_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QPalette shade = response_->palette();
    shade.setColor(QPalette::Base, QColor(241, 241, 241));
    response_->setPalette(shade);
    SetDefaultButton(send_);
    for (QPushButton* button : {send_, clear_})
        button->setMinimumWidth(140);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->addWidget(
        Caption(QStringLiteral("Command To Ravelfin (NOT include LRC field):"), command_));
    layout->addWidget(command_);
    layout->addWidget(Caption(
        QStringLiteral("command example: \\x2\\x52\\x22\\x3 (See: Get Firmware version command)")));
    layout->addSpacing(8);
    layout->addWidget(
        Caption(QStringLiteral("Command/Response Data to/from Ravelfin:"), response_));
    layout->addWidget(response_, 1);
    layout->addLayout(CenteredButtonRow({send_, clear_}));

    // The command stands in the box while the reader is asked, and any answer while a message
    // about it is read.
    log_.SetLogChanged([this] { ShowLog(); });
    connect(send_, &QPushButton::clicked, this, &ManualCommandPage::SendManualCommand);
    connect(clear_, &QPushButton::clicked, this, &ManualCommandPage::ClearLog);
    UpdateSendButton();
}

void ManualCommandPage::UpdateSendButton() {
    send_->setEnabled(connection_.Transport != nullptr);
}

void ManualCommandPage::SendManualCommand() {
    if (!send_->isEnabled())
        return;
    // The connection's transport as it is now: a reopened reader has a new one.
    log_.Send(command_->text().toStdString(), connection_.Flow(messages_),
              connection_.Settings.get(), refreshEditors_);
    ShowLog();
}

void ManualCommandPage::ClearLog() {
    log_.Clear();
    ShowLog();
}

void ManualCommandPage::ShowLog() {
    response_->setPlainText(QString::fromStdString(log_.Log()));
    response_->verticalScrollBar()->setValue(response_->verticalScrollBar()->maximum());
}

void ManualCommandPage::showEvent(QShowEvent* event) {
    UpdateSendButton();
    SkinnedPage::showEvent(event);
}

}  // namespace ravelfin
