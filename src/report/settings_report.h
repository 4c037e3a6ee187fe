#pragma once

#include <string>

#include "protocol/reader_settings.h"

namespace ravelfin {

/// The text of the current-settings report of `record`, line by line with "\r\n" line
/// ends (the firmware 4.3 beep line ends with "\n" alone). Which lines appear depends on
/// the record's InterfaceType, FirmwareVersionNumber, ModelClass and SecurityLevel;
/// `firmwareText` is the reader's firmware version text for the last line. Bytes without
/// a name stand for themselves (ISO 8859-1); the caller converts the text for display.
std::string BuildSettingsReport(const ReaderSettings& record, const std::string& firmwareText);

}  // namespace ravelfin
