#include "basic/track_settings_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "basic/rules/general_choices.h"
#include "basic/rules/page_rules.h"
#include "connection/connection.h"
#include "controls/char_name_list.h"
#include "controls/help_topics.h"
#include "controls/key_sequence_edit.h"
#include "controls/radio_group.h"

namespace ravelfin {

namespace {
constexpr int kFlagBits[] = {kSendSentinelsBit, kAccountNumberOnlyBit, kErrorIndicationBit};
}  // namespace

TrackSettingsPage::TrackSettingsPage(Connection& connection, Messenger& messenger, QWidget* parent)
    : BasicPage(connection, messenger, kHelpTrackSettings, true, parent),
      trackSelect_(
          new RadioGroup(QStringLiteral("Track Select"),
                         {QStringLiteral("Any Track"), QStringLiteral("Track1 Only"),
                          QStringLiteral("Track2 Only"), QStringLiteral("Track1 And Track2"),
                          QStringLiteral("Track3 Only"), QStringLiteral("Track1 And Track3"),
                          QStringLiteral("Track2 And Track3"), QStringLiteral("All Three Tracks"),
                          QStringLiteral("Track1 Or Track2"), QStringLiteral("Track2 Or Track3")},
                         2)) {
    const char* flagCaptions[kFlagCount] = {"Send Start/End Sentinel",
                                            "For Track 2 Only Send Account Number",
                                            "Send Error Indication", "Send LRC in Card Data"};
    auto* flagBox = new QGroupBox;
    auto* flagLayout = new QVBoxLayout(flagBox);
    for (int i = 0; i < kFlagCount; ++i) {
        flags_[i] = new QCheckBox(QString::fromLatin1(flagCaptions[i]));
        flagLayout->addWidget(flags_[i]);
        connect(flags_[i], &QCheckBox::toggled, this,
                [this, i](bool checked) { StoreFlag(static_cast<Flag>(i), checked); });
    }

    auto* characters = new QGridLayout;
    const QString listCaption = QStringLiteral("Non-Printable Char:");
    separator_.emplace(messenger, QStringLiteral("Track Separator:"), listCaption, *characters, 0);
    terminator_.emplace(messenger, QStringLiteral("Terminator:"), listCaption, *characters, 1);
    characters->setColumnStretch(1, 1);
    characters->setColumnStretch(2, 1);
    const auto bind = [this](KeySequenceEdit* box, std::uint8_t ReaderSettings::*field) {
        connect(box, &KeySequenceEdit::BytesChanged, this, [this, box, field] {
            if (ReaderSettings* record = Record())
                record->*field = box->FirstByte();
        });
    };
    bind(separator_->Box, &ReaderSettings::TrackSeparator);
    bind(terminator_->Box, &ReaderSettings::Terminator);

    connect(trackSelect_, &RadioGroup::Chosen, this, [this](int index) {
        if (ReaderSettings* record = Record())
            record->TrackSelect = static_cast<std::uint8_t>('0' + index);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(trackSelect_);
    layout->addWidget(flagBox);
    layout->addLayout(characters);
    layout->addStretch();
    layout->addLayout(TakeButtonRow());

    Refresh();
    if (const ReaderSettings* record = ShownRecord()) {
        const PageLock lock = TrackPageLock(*record);
        if (lock != PageLock::kUnchanged)
            setEnabled(lock == PageLock::kEnabled);
    }
}

void TrackSettingsPage::StoreFlag(Flag flag, bool checked) {
    ReaderSettings* record = Record();
    if (!record)
        return;
    if (flag == kSendLrc) {
        record->SendLrc = checked ? '1' : '0';
        return;
    }
    record->SendOptions = WithBit(record->SendOptions, kFlagBits[flag], checked);
}

void TrackSettingsPage::Load(const ReaderSettings& shown) {
    const ReaderSettings* record = &shown;
    trackSelect_->SetIndex(DigitIndex(record->TrackSelect, trackSelect_->Count()));
    for (int i = kSendSentinels; i <= kErrorIndication; ++i)
        flags_[i]->setChecked(HasBit(record->SendOptions, kFlagBits[i]));
    flags_[kSendLrc]->setChecked(record->SendLrc > '0');
    for (auto [row, value] : {std::pair{&*separator_, record->TrackSeparator},
                              std::pair{&*terminator_, record->Terminator}}) {
        row->Box->SetTextLimit(1);
        row->Box->SetBytes(Bytes{value});
        row->List->Reset();
    }
}

void TrackSettingsPage::RestorePageDefaults(ReaderSettings& record) {
    record.ResetTrackDefaults();
    DefaultPageButton()->setFocus(Qt::OtherFocusReason);
}

}  // namespace ravelfin
