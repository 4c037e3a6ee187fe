#include "advanced/output_format_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "flows/reader_firmware.h"

namespace ravelfin {

namespace {
// The optional HID format ('1') has no button: a reader set to it shows none selected.
constexpr std::uint8_t kHidFormat = '0';
constexpr std::uint8_t kKeyboardFormat = '8';
constexpr double kLastFixedFormatFirmware = 1.77;

const QString kChangeableCaption =
    QStringLiteral("USB HID Format: Modifying this setting reset the reader.");
const QString kFixedCaption =
    QStringLiteral("USB HID Format: the setting can not be changed in this version reader.");
}  // namespace

OutputFormatPage::OutputFormatPage(const AdvancedPageContext& context, QWidget* parent)
    : AdvancedPage(parent),
      context_(context),
      group_(new QGroupBox(kChangeableCaption, this)),
      hid_(new QRadioButton(QStringLiteral("USB HID Data Format"), group_)),
      keyboard_(new QRadioButton(QStringLiteral("USB HID Keyboard Data Format"), group_)),
      help_(new QPushButton(QStringLiteral("Help"), this)) {
    auto* buttons = new QVBoxLayout(group_);
    buttons->addWidget(hid_);
    buttons->addWidget(keyboard_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addStretch();
    auto* helpRow = new QHBoxLayout;
    helpRow->addStretch();
    helpRow->addWidget(help_);
    layout->addLayout(helpRow);

    // A click on the button already selected still marks the reset; the accessibility
    // action "Toggle" emits only `toggled`.
    for (auto [button, format] :
         {std::pair{hid_, kHidFormat}, std::pair{keyboard_, kKeyboardFormat}}) {
        connect(button, &QRadioButton::clicked, this, [this, format] { Choose(format); });
        connect(button, &QRadioButton::toggled, this, [this, format](bool on) {
            if (on)
                Choose(format);
        });
    }
    connect(help_, &QPushButton::clicked, this,
            [this] { ShowHelp(this, kHelpFileName, kHelpContextCommand, kHelpOutputFormat); });

    firmware_ = ReadFirmwareNumber(context_.Flow());
    Refresh();
}

void OutputFormatPage::Refresh() {
    ReaderSettings* settings = context_.Reader.Settings;
    const bool changeable = firmware_ > kLastFixedFormatFirmware;
    loading_ = true;
    // Unchecking needs a non-exclusive group for a moment: a stored value without a button,
    // or a fixed format, shows none selected.
    for (QRadioButton* button : {hid_, keyboard_}) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
    if (changeable && settings) {
        if (settings->HidFormat == kHidFormat)
            hid_->setChecked(true);
        if (settings->HidFormat == kKeyboardFormat)
            keyboard_->setChecked(true);
    }
    loading_ = false;
    group_->setTitle(changeable ? kChangeableCaption : kFixedCaption);
    hid_->setEnabled(changeable);
    keyboard_->setEnabled(changeable);
}

void OutputFormatPage::Choose(std::uint8_t format) {
    ReaderSettings* settings = context_.Reader.Settings;
    if (loading_ || !settings)
        return;
    settings->ReconnectPending = 1;
    settings->HidFormat = format;
}

}  // namespace ravelfin
