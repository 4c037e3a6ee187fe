#pragma once

#include "basic/basic_page.h"

class QLineEdit;

namespace ravelfin {

class RadioGroup;

/// "Keyboard Settings": the keyboard language, whether function keys come as Ctrl or Alt
/// combinations, and the USB HID keyboard polling interval. Only keyboard readers use them.
class KeyboardSettingsPage final : public BasicPage {
    Q_OBJECT
  public:
    static constexpr char kPollIntervalCaption[] =
        "USB HID KB Polling Interval (Input value is from 1 to 255)";
    /// The warning for a polling interval that is empty or out of range.
    static constexpr char kPollIntervalRangeText[] = "Please enter an integer between 1 and 255.";

    KeyboardSettingsPage(Connection& connection, Messenger& messenger, QWidget* parent = nullptr);

    void Load(const ReaderSettings& shown) override;

    RadioGroup* Language() const { return language_; }
    RadioGroup* FunctionKeys() const { return functionKeys_; }
    QLineEdit* PollInterval() const { return pollInterval_; }

  protected:
    void RestorePageDefaults(ReaderSettings& record) override;

  private:
    void OnPollIntervalEdited(const QString& text);

    RadioGroup* language_;
    RadioGroup* functionKeys_;
    QLineEdit* pollInterval_;
};

}  // namespace ravelfin
