#pragma once

#include <optional>

#include "basic/basic_page.h"
#include "basic/byte_string_row.h"

class QCheckBox;

namespace ravelfin {

class RadioGroup;

/// "Track Settings": which tracks the reader sends, four output flags, and the one-byte
/// track separator and terminator.
class TrackSettingsPage final : public BasicPage {
    Q_OBJECT
  public:
    enum Flag { kSendSentinels, kAccountNumberOnly, kErrorIndication, kSendLrc, kFlagCount };

    TrackSettingsPage(Connection& connection, Messenger& messenger, QWidget* parent = nullptr);

    void Load(const ReaderSettings& shown) override;

    RadioGroup* TrackSelect() const { return trackSelect_; }
    QCheckBox* FlagBox(Flag flag) const { return flags_[flag]; }
    const ByteStringRow& Separator() const { return *separator_; }
    const ByteStringRow& Terminator() const { return *terminator_; }

  protected:
    void RestorePageDefaults(ReaderSettings& record) override;

  private:
    void StoreFlag(Flag flag, bool checked);

    RadioGroup* trackSelect_;
    QCheckBox* flags_[kFlagCount];
    std::optional<ByteStringRow> separator_;
    std::optional<ByteStringRow> terminator_;
};

}  // namespace ravelfin
