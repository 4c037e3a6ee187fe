#include "basic/general_settings_page.h"

#include <QRadioButton>
#include <QVBoxLayout>

#include "basic/rules/general_choices.h"
#include "connection/connection.h"
#include "controls/help_topics.h"
#include "controls/radio_group.h"

namespace ravelfin {

GeneralSettingsPage::GeneralSettingsPage(Connection& connection, Messenger& messenger,
                                         QWidget* parent)
    : BasicPage(connection, messenger, kHelpGeneralSettings, true, parent),
      beep_(new RadioGroup(QStringLiteral("Beep"),
                           {QStringLiteral("OFF"), QStringLiteral("LOW"), QStringLiteral("HIGH"),
                            QStringLiteral("Quick HIGH"), QStringLiteral("Quick LOW")},
                           3)),
      msrReading_(new RadioGroup(
          QStringLiteral("MSR Reading"),
          {QStringLiteral("MSR Reading Disabled"), QStringLiteral("MSR Reading Enabled")}, 2)),
      decoding_(
          new RadioGroup(QStringLiteral("Decoding Method"),
                         {QStringLiteral("Raw Data"), QStringLiteral("Decoding In Both Directions"),
                          QStringLiteral("Decoding forward direction only"),
                          QStringLiteral("Decoding reverse direction only")},
                         2)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(beep_);
    layout->addWidget(msrReading_);
    layout->addWidget(decoding_);
    layout->addStretch();
    layout->addLayout(TakeButtonRow());

    connect(beep_, &RadioGroup::Chosen, this, [this](int index) {
        if (ReaderSettings* record = Record())
            StoreBeep(*record, index);
    });
    connect(msrReading_, &RadioGroup::Chosen, this, [this](int index) {
        if (ReaderSettings* record = Record())
            record->MsrReading = static_cast<std::uint8_t>('0' + index);
    });
    connect(decoding_, &RadioGroup::Chosen, this, [this](int index) {
        if (ReaderSettings* record = Record())
            record->DecodingMethod = static_cast<std::uint8_t>('0' + index);
    });
}

void GeneralSettingsPage::Load(const ReaderSettings& shown) {
    const ReaderSettings* record = &shown;
    const double firmware = record->FirmwareVersionNumber;
    msrReading_->SetIndex(DigitIndex(record->MsrReading, msrReading_->Count()));
    decoding_->SetIndex(DigitIndex(record->DecodingMethod, decoding_->Count()));
    beep_->SetIndex(BeepIndex(*record, beep_->Index()));

    const bool quick = HasQuickBeeps(firmware);
    beep_->Button(kQuickHigh)->setEnabled(quick);
    beep_->Button(kQuickLow)->setEnabled(quick);
    if (UsesBeepMode(firmware)) {
        // The captions stay changed, as the reader does not go back to an older firmware.
        beep_->Button(kQuickLow)->hide();
        beep_->Button(kQuickHigh)->setText(QStringLiteral("BadGood"));
        beep_->Button(kBeepHigh)->setText(QStringLiteral("Good"));
        beep_->Button(kBeepLow)->setText(QStringLiteral("Bad"));
    }
}

void GeneralSettingsPage::RestorePageDefaults(ReaderSettings& record) {
    record.ResetGeneralDefaults();
}

}  // namespace ravelfin
