#include "basic/keyboard_settings_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "basic/rules/general_choices.h"
#include "basic/rules/page_rules.h"
#include "connection/connection.h"
#include "connection/messenger.h"
#include "controls/help_topics.h"
#include "controls/radio_group.h"

namespace ravelfin {

namespace {
constexpr int kPollIntervalDigits = 3;
}  // namespace

KeyboardSettingsPage::KeyboardSettingsPage(Connection& connection, Messenger& messenger,
                                           QWidget* parent)
    : BasicPage(connection, messenger, kHelpKeyboardSettings, true, parent),
      language_(new RadioGroup(
          QStringLiteral("Language Option"),
          {QStringLiteral("US"), QStringLiteral("Swiss"), QStringLiteral("Swedish"),
           QStringLiteral("Spanish(Mexico)"), QStringLiteral("Norwegian"),
           QStringLiteral("Italian"), QStringLiteral("German"), QStringLiteral("French"),
           QStringLiteral("Japanese"), QStringLiteral("UK"), QStringLiteral("Universal")},
          3)),
      functionKeys_(
          new RadioGroup(QStringLiteral("Function Key Output"),
                         {QStringLiteral("Ctrl Key Output"), QStringLiteral("Alt Key Output")}, 2)),
      pollInterval_(new QLineEdit) {
    auto* label = new QLabel(QString::fromLatin1(kPollIntervalCaption));
    label->setBuddy(pollInterval_);
    pollInterval_->setAccessibleName(label->text());
    pollInterval_->setMaxLength(kPollIntervalDigits);
    pollInterval_->setMaximumWidth(80);
    auto* pollRow = new QHBoxLayout;
    pollRow->addWidget(label);
    pollRow->addWidget(pollInterval_);
    pollRow->addStretch();

    connect(language_, &RadioGroup::Chosen, this, [this](int index) {
        if (ReaderSettings* record = Record())
            record->KeyboardLanguage = static_cast<std::uint8_t>('0' + index);
    });
    connect(functionKeys_, &RadioGroup::Chosen, this, [this](int index) {
        if (ReaderSettings* record = Record())
            record->SendOptions = WithBit(record->SendOptions, kAltFunctionKeysBit, index == 1);
    });
    connect(pollInterval_, &QLineEdit::textEdited, this,
            &KeyboardSettingsPage::OnPollIntervalEdited);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(language_);
    layout->addWidget(functionKeys_);
    layout->addLayout(pollRow);
    layout->addStretch();
    layout->addLayout(TakeButtonRow());

    Refresh();
    const ReaderSettings* record = ShownRecord();
    if (record && !HasKeyboardSettings(record->InterfaceType)) {
        for (QWidget* control :
             std::initializer_list<QWidget*>{language_, functionKeys_, pollInterval_, label,
                                             DefaultPageButton(), HelpButton()}) {
            control->setEnabled(false);
        }
    }
}

void KeyboardSettingsPage::OnPollIntervalEdited(const QString& text) {
    ReaderSettings* record = Record();
    if (!record)
        return;
    std::optional<std::uint8_t> interval = ParsePollInterval(text.toStdString());
    if (!interval) {
        Messages().ShowMessage(kPollIntervalRangeText);
        interval = kMinPollInterval;
        pollInterval_->setText(QString::number(*interval));
    }
    record->KbPollInterval = *interval;
}

void KeyboardSettingsPage::Load(const ReaderSettings& shown) {
    const ReaderSettings* record = &shown;
    language_->SetIndex(DigitIndex(record->KeyboardLanguage, language_->Count()));
    functionKeys_->SetIndex(HasBit(record->SendOptions, kAltFunctionKeysBit) ? 1 : 0);
    pollInterval_->setText(QString::number(record->KbPollInterval));
}

void KeyboardSettingsPage::RestorePageDefaults(ReaderSettings& record) {
    record.ResetKeyboardDefaults();
}

}  // namespace ravelfin
