#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/reader_settings.h"

namespace ravelfin {

/// A one-byte field of the record under the name that `show --json` gives it, and the FuncID
/// that carries it (0 for what no frame carries).
struct ByteSetting {
    const char* Name;
    std::uint8_t FuncId;
    std::uint8_t ReaderSettings::*Field;
    /// False for what the program keeps beside the settings: the polling interval as last
    /// read and the USB HID format before a load, which no file or reader compares or sets.
    bool IsSetting = true;
};

/// A byte-string field of the record under its `show --json` name, with the most bytes its
/// edit box takes.
struct StringSetting {
    const char* Name;
    std::uint8_t FuncId;
    Bytes ReaderSettings::*Field;
    std::size_t MaxLength;
};

/// The one-byte fields in the record's order, the settings and the few values the program
/// keeps beside them (KbPollIntervalRead, HidFormatBeforeLoad).
std::span<const ByteSetting> ByteSettings();
/// The byte-string settings in the record's order.
std::span<const StringSetting> StringSettings();

/// The names of the data-editing content, with the FuncIDs of their blocks.
struct DataEditSetting {
    const char* Name;
    std::uint8_t FuncId;
};
std::span<const DataEditSetting> DataEditSettingNames();

/// The names of every setting a file or reader holds: the one-byte settings, the byte strings
/// and the data-editing content, in the record's order.
std::vector<std::string> SettingNames();

/// True when `a` and `b` hold the same value of the setting `name` (one of `SettingNames`).
bool SameSetting(const ReaderSettings& a, const ReaderSettings& b, const std::string& name);

/// Turns `record` into what a reader with this firmware, or a file saved for it, stores: the
/// record encoded for that firmware and read back. Settings that the firmware keeps elsewhere
/// (the beep volume of 4.3) or not at all (security settings up to 4.25) come back at their
/// defaults. False, leaving the record alone, when it does not fit into a settings frame.
bool AsStoredBy(ReaderSettings& record, double firmware);

}  // namespace ravelfin
