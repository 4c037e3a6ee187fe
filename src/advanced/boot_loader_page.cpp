#include "advanced/boot_loader_page.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "connection/connection.h"
#include "controls/skinned_dialog.h"
#include "flows/boot_loader.h"
#include "flows/flow_messages.h"

namespace ravelfin {

BootLoaderPage::BootLoaderPage(Connection& connection, Messenger& messages, QWidget* parent)
    : SkinnedPage(parent),
      connection_(connection),
      messages_(messages),
      password_(new QLineEdit),
      set_(new QPushButton(QStringLiteral("Set Boot Loader Mode"))) {
    auto* explanation = new QLabel(QStringLiteral(
        "When you select \"Set Boot Loader Mode\", you enter Boot Loader mode, so that you can "
        "update the reader's firmware. "));
    explanation->setWordWrap(true);
    const QString prompt = QStringLiteral("Please input boot mode PASSWORD below");
    auto* promptLabel = new QLabel(prompt);
    promptLabel->setBuddy(password_);
    password_->setAccessibleName(prompt);
    SetDefaultButton(set_);
    set_->setMinimumWidth(180);
    connect(set_, &QPushButton::clicked, this, &BootLoaderPage::SetBootLoaderMode);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 40, 40, 20);
    layout->setSpacing(14);
    layout->addWidget(explanation);
    layout->addSpacing(12);
    layout->addWidget(promptLabel);
    layout->addWidget(password_);
    layout->addSpacing(12);
    layout->addLayout(CenteredButtonRow({set_}));
    layout->addStretch();
}

void BootLoaderPage::SetBootLoaderMode() {
    if (!IsBootLoaderPassword(password_->text().toStdString())) {
        QMessageBox::information(this, QString(), QString::fromLatin1(kInvalidPasswordText));
        return;
    }
    password_->clear();
    const auto answer = QMessageBox::warning(this, QString::fromLatin1(kBootLoaderQuestionCaption),
                                             QString::fromLatin1(kBootLoaderQuestionText),
                                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    ravelfin::SetBootLoaderMode(connection_.Flow(messages_));
}

}  // namespace ravelfin
