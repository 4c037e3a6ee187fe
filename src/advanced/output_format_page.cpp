#include "advanced/output_format_page.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "controls/radio_group.h"
#include "flows/reader_firmware.h"

namespace ravelfin {

namespace {
// The buttons by index; the optional HID format ('1') has none: a reader set to it shows none
// selected.
constexpr std::uint8_t kFormats[] = {'0', '8'};
constexpr double kLastFixedFormatFirmware = 1.77;

const QString kChangeableCaption =
    QStringLiteral("USB HID Format: Modifying this setting reset the reader.");
const QString kFixedCaption =
    QStringLiteral("USB HID Format: the setting can not be changed in this version reader.");

int FormatIndex(std::uint8_t format) {
    for (int i = 0; i < static_cast<int>(std::size(kFormats)); ++i) {
        if (kFormats[i] == format)
            return i;
    }
    return -1;
}
}  // namespace

OutputFormatPage::OutputFormatPage(const AdvancedPageContext& context, QWidget* parent)
    : EditorPage(context.Services.Link, parent),
      group_(new RadioGroup(kChangeableCaption, {QStringLiteral("USB HID Data Format"),
                                                 QStringLiteral("USB HID Keyboard Data Format")})),
      help_(new QPushButton(QStringLiteral("Help"))) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addStretch();
    auto* helpRow = new QHBoxLayout;
    helpRow->addStretch();
    helpRow->addWidget(help_);
    layout->addLayout(helpRow);

    connect(group_, &RadioGroup::Chosen, this, [this](int index) { Choose(kFormats[index]); });
    // A click on the button already selected chooses nothing new, and still marks the reset.
    for (int i = 0; i < group_->Count(); ++i) {
        connect(group_->Button(i), &QRadioButton::clicked, this,
                [this, i] { Choose(kFormats[i]); });
    }
    connect(help_, &QPushButton::clicked, this,
            [this] { ShowHelp(this, kHelpFileName, kHelpContextCommand, kHelpOutputFormat); });

    firmware_ = ReadFirmwareNumber(context.Flow());
    Refresh();
}

QGroupBox* OutputFormatPage::FormatGroup() const {
    return group_;
}

QRadioButton* OutputFormatPage::HidButton() const {
    return group_->Button(0);
}

QRadioButton* OutputFormatPage::KeyboardButton() const {
    return group_->Button(1);
}

void OutputFormatPage::Load(const ReaderSettings& record) {
    const bool changeable = firmware_ > kLastFixedFormatFirmware;
    group_->SetIndex(changeable ? FormatIndex(record.HidFormat) : -1);
    group_->setTitle(changeable ? kChangeableCaption : kFixedCaption);
    for (int i = 0; i < group_->Count(); ++i)
        group_->Button(i)->setEnabled(changeable);
}

void OutputFormatPage::Choose(std::uint8_t format) {
    if (ReaderSettings* settings = Record()) {
        settings->ReconnectPending = 1;
        settings->HidFormat = format;
    }
}

}  // namespace ravelfin
