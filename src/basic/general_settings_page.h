#pragma once

#include "basic/basic_page.h"

namespace ravelfin {

class RadioGroup;

/// "General Settings": beep, MSR reading and decoding method. Terminal type and
/// inter-character delay have no controls here: the reader family ignores them on the
/// attachments the program serves, and they keep their values in the record.
class GeneralSettingsPage final : public BasicPage {
    Q_OBJECT
  public:
    enum BeepButton { kBeepOff, kBeepLow, kBeepHigh, kQuickHigh, kQuickLow };

    GeneralSettingsPage(Connection& connection, Messenger& messenger, QWidget* parent = nullptr);

    void Load(const ReaderSettings& shown) override;

    RadioGroup* Beep() const { return beep_; }
    RadioGroup* MsrReading() const { return msrReading_; }
    RadioGroup* DecodingMethod() const { return decoding_; }

  protected:
    void RestorePageDefaults(ReaderSettings& record) override;

  private:
    RadioGroup* beep_;
    RadioGroup* msrReading_;
    RadioGroup* decoding_;
};

}  // namespace ravelfin
