#include "advanced/security_setting_page.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "advanced/rules/security_rules.h"
#include "controls/help_topics.h"
#include "controls/help_window.h"
#include "controls/radio_group.h"

namespace ravelfin {

namespace {
constexpr int kPrePanEntries = 7;   // "0" to "6"
constexpr int kPostPanEntries = 5;  // "0" to "4", then an empty entry that stores 5
constexpr std::uint8_t kDefaultMaskChar = '*';
// The encryption buttons by index: clear text, Triple DES, AES.
constexpr std::uint8_t kEncryptions[] = {'0', '1', '2'};

const char kWarningCaption[] = "Warning";
const char kInvalidMaskCharText[] = "this MaskChar is invalid!";
const char kOneCharText[] = "Only one char is allowed!";
const char kNullMaskCharText[] = "MaskChar cannot be null!";
const char kPermanentEncryptionText[] =
    "Select this Encryption Type will permanently set reader into encrypted mode.\n"
    "It can NOT be set back to non-encrypt mode again.";

/// A byte shown as the one character it stands for; nothing for 0.
QString OneCharacter(std::uint8_t byte) {
    return byte == 0 ? QString() : QString(QChar::fromLatin1(static_cast<char>(byte)));
}

QLineEdit* ReadOnlyDisplay(QWidget* parent) {
    auto* display = new QLineEdit(parent);
    display->setReadOnly(true);
    return display;
}
}  // namespace

SecuritySettingPage::SecuritySettingPage(const AdvancedPageContext& context, QWidget* parent)
    : EditorPage(context.Services.Link, parent),
      context_(context),
      prePan_(new QComboBox(this)),
      postPan_(new QComboBox(this)),
      maskChar_(new QLineEdit(this)),
      encryption_(new RadioGroup(
          QStringLiteral("Encryption:"),
          {QStringLiteral("Clear Text"), QStringLiteral("Triple DES"), QStringLiteral("AES")}, 3,
          this)),
      level_(ReadOnlyDisplay(this)),
      serial_(ReadOnlyDisplay(this)),
      default_(new QPushButton(QStringLiteral("Default Page"), this)),
      help_(new QPushButton(QStringLiteral("Help"), this)) {
    for (int i = 0; i < kPrePanEntries; ++i)
        prePan_->addItem(QString::number(i));
    for (int i = 0; i < kPostPanEntries; ++i)
        postPan_->addItem(QString::number(i));
    postPan_->addItem(QString());
    BuildLayout();

    auto storePosition = [this](std::uint8_t ReaderSettings::*field) {
        return [this, field](int position) {
            ReaderSettings* record = Record();
            if (record && position >= 0)
                record->*field = static_cast<std::uint8_t>(position);
        };
    };
    connect(prePan_, &QComboBox::currentIndexChanged, this, storePosition(&ReaderSettings::PrePan));
    connect(postPan_, &QComboBox::currentIndexChanged, this,
            storePosition(&ReaderSettings::PostPan));
    connect(maskChar_, &QLineEdit::textChanged, this, &SecuritySettingPage::OnMaskCharChanged);
    maskChar_->installEventFilter(this);
    connect(encryption_, &RadioGroup::Chosen, this,
            [this](int index) { ChooseEncryption(kEncryptions[index]); });
    connect(default_, &QPushButton::clicked, this, [this] {
        if (ReaderSettings* record = Record()) {
            record->ResetSecurityDefaults();
            Refresh();
        }
    });
    connect(help_, &QPushButton::clicked, this,
            [this] { ShowHelp(this, kHelpFileName, kHelpContextCommand, kHelpSecuritySettings); });
    Refresh();
}

void SecuritySettingPage::BuildLayout() {
    auto* form = new QFormLayout;
    // Short values in short boxes, as wide as their longest value needs.
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (QWidget* box : {static_cast<QWidget*>(prePan_), static_cast<QWidget*>(postPan_)})
        box->setMinimumWidth(8 * digit);
    for (QLineEdit* box : {maskChar_, level_})
        box->setFixedWidth(6 * digit);
    serial_->setFixedWidth(18 * digit);
    auto addRow = [this, form](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        field->setAccessibleName(caption);
        form->addRow(label, field);
    };
    addRow(QStringLiteral("PrePAN:"), prePan_);
    addRow(QStringLiteral("PostPAN:"), postPan_);
    addRow(QStringLiteral("Mask Char:"), maskChar_);

    form->addRow(encryption_);

    addRow(QStringLiteral("Security Level:"), level_);
    addRow(QStringLiteral("Device Serial Number:"), serial_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(default_);
    buttons->addWidget(help_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    // Tab follows the controls as they stand, whatever order they were made in.
    QWidget* const order[] = {prePan_,           postPan_,    maskChar_, ClearTextButton(),
                              TripleDesButton(), AesButton(), level_,    serial_,
                              default_,          help_};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QRadioButton* SecuritySettingPage::ClearTextButton() const {
    return encryption_->Button(0);
}

QRadioButton* SecuritySettingPage::TripleDesButton() const {
    return encryption_->Button(1);
}

QRadioButton* SecuritySettingPage::AesButton() const {
    return encryption_->Button(2);
}

void SecuritySettingPage::Load(const ReaderSettings& shown) {
    const ReaderSettings* record = &shown;
    // A number without an entry leaves the list as it was.
    const int prePan = prePan_->findText(QString::number(record->PrePan), Qt::MatchStartsWith);
    if (prePan >= 0)
        prePan_->setCurrentIndex(prePan);
    const int postPan = postPan_->findText(QString::number(record->PostPan), Qt::MatchStartsWith);
    if (postPan >= 0)
        postPan_->setCurrentIndex(postPan);
    maskChar_->setText(OneCharacter(record->MaskChar));
    // Another value leaves the buttons as they are.
    for (int i = 0; i < encryption_->Count(); ++i) {
        if (record->Encryption == kEncryptions[i])
            encryption_->SetIndex(i);
    }
    level_->setText(OneCharacter(record->SecurityLevel));
    ApplyChoices(ChoicesForRecord(CurrentChoices(), record->SecurityLevel, record->Encryption));
    serial_->setText(QString::fromLatin1(SerialNumberText(record->SerialNumber)));
}

void SecuritySettingPage::ShowReaderSecurity(const SecurityState& state) {
    const ReaderSettings* record = ShownRecord();
    if (!record)
        return;
    level_->setText(OneCharacter(state.Level));
    ApplyChoices(
        ChoicesAfterSend(CurrentChoices(), state.Level, state.Encryption, record->Encryption));
}

EncryptionChoices SecuritySettingPage::CurrentChoices() const {
    return {ClearTextButton()->isEnabled(), TripleDesButton()->isEnabled(),
            AesButton()->isEnabled()};
}

void SecuritySettingPage::ApplyChoices(const EncryptionChoices& choices) {
    ClearTextButton()->setEnabled(choices.ClearText);
    TripleDesButton()->setEnabled(choices.TripleDes);
    AesButton()->setEnabled(choices.Aes);
}

void SecuritySettingPage::ChooseEncryption(std::uint8_t encryption) {
    ReaderSettings* record = Record();
    if (!record)
        return;
    // The warning informs; the choice is kept either way.
    if (encryption != '0' && record->Encryption == '0')
        context_.Services.Messages.ShowMessage(kPermanentEncryptionText);
    record->Encryption = encryption;
}

void SecuritySettingPage::OnMaskCharChanged() {
    ReaderSettings* record = Record();
    if (!record)
        return;
    const QString text = maskChar_->text();
    switch (CheckMaskChar(text.toStdU16String())) {
        case MaskCharCheck::kEmpty:
            maskChar_->setText(OneCharacter(kDefaultMaskChar));  // comes back here as valid
            break;
        case MaskCharCheck::kValid:
            record->MaskChar = static_cast<std::uint8_t>(text.at(0).unicode());
            maskChar_->selectAll();
            break;
        case MaskCharCheck::kInvalid:
            WarnAndResetMaskChar(kInvalidMaskCharText);
            break;
        case MaskCharCheck::kTooLong:
            context_.Services.Boxes.Warning(this, QString::fromLatin1(kWarningCaption),
                                            QString::fromLatin1(kOneCharText));
            maskChar_->setText(text.right(1));  // judged again as a text of its own
            maskChar_->selectAll();
            break;
    }
}

void SecuritySettingPage::WarnAndResetMaskChar(const char* text) {
    context_.Services.Boxes.Warning(this, QString::fromLatin1(kWarningCaption),
                                    QString::fromLatin1(text));
    maskChar_->setText(OneCharacter(kDefaultMaskChar));
}

bool SecuritySettingPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == maskChar_ && event->type() == QEvent::FocusOut && Record() &&
        maskChar_->text().isEmpty()) {
        WarnAndResetMaskChar(kNullMaskCharText);
    }
    return EditorPage::eventFilter(watched, event);
}

}  // namespace ravelfin
