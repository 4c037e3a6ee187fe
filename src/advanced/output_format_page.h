#pragma once

#include "advanced/advanced_context.h"
#include "editor/editor_page.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace ravelfin {
class RadioGroup;
}

namespace ravelfin {

/// The "Output Format" tab: whether the reader reports cards as a HID device or types them
/// as a HID keyboard (`HidFormat`). A new format makes the reader reset, so every choice
/// marks the record for a reopen after the next send.
class OutputFormatPage final : public EditorPage {
    Q_OBJECT
  public:
    /// Reads the reader's firmware version number (a reader that does not open counts as
    /// version 0, whose format cannot be changed) and loads the page.
    OutputFormatPage(const AdvancedPageContext& context, QWidget* parent);

    double FirmwareVersion() const { return firmware_; }
    QGroupBox* FormatGroup() const;
    QRadioButton* HidButton() const;
    QRadioButton* KeyboardButton() const;
    QPushButton* HelpButton() const { return help_; }

  protected:
    /// Selects the button of the stored format; disables the group for firmware 1.77 and
    /// older, whose format cannot be changed.
    void Load(const ReaderSettings& record) override;

  private:
    void Choose(std::uint8_t format);

    double firmware_ = 0.0;
    RadioGroup* group_;
    QPushButton* help_;
};

}  // namespace ravelfin
