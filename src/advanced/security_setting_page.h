#pragma once

#include "advanced/advanced_context.h"
#include "advanced/rules/security_rules.h"
#include "editor/editor_page.h"
#include "flows/send_settings.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ravelfin {

class RadioGroup;

/// The "Security Setting" tab of a secure reader: how many leading and trailing digits of
/// the card number stay unmasked, the mask character and the encryption, with the reader's
/// security level and serial number for information. Every change goes into the record at
/// once; the reader gets it with the next send.
class SecuritySettingPage final : public EditorPage {
    Q_OBJECT
  public:
    SecuritySettingPage(const AdvancedPageContext& context, QWidget* parent);

    /// Shows the security state the reader reported after a send.
    void ShowReaderSecurity(const SecurityState& state);

    QComboBox* PrePanBox() const { return prePan_; }
    QComboBox* PostPanBox() const { return postPan_; }
    QLineEdit* MaskCharBox() const { return maskChar_; }
    QRadioButton* ClearTextButton() const;
    QRadioButton* TripleDesButton() const;
    QRadioButton* AesButton() const;
    QLineEdit* SecurityLevelBox() const { return level_; }
    QLineEdit* SerialNumberBox() const { return serial_; }
    QPushButton* DefaultButton() const { return default_; }
    QPushButton* HelpButton() const { return help_; }

  protected:
    /// Loads the controls from the record and offers the encryptions its level allows.
    void Load(const ReaderSettings& record) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void OnMaskCharChanged();
    void ChooseEncryption(std::uint8_t encryption);
    void ApplyChoices(const EncryptionChoices& choices);
    EncryptionChoices CurrentChoices() const;
    void WarnAndResetMaskChar(const char* text);

    const AdvancedPageContext& context_;
    QComboBox* prePan_;
    QComboBox* postPan_;
    QLineEdit* maskChar_;
    RadioGroup* encryption_;
    QLineEdit* level_;
    QLineEdit* serial_;
    QPushButton* default_;
    QPushButton* help_;
};

}  // namespace ravelfin
