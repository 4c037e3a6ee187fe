#pragma once

#include <cstdint>

#include "protocol/reader_settings.h"

namespace ravelfin {

/// How the radio buttons of the General settings page map to the settings record. An index
/// of -1 selects no button.

/// The button that a digit setting ('0' + index) selects, or -1 for a byte past `count`.
int DigitIndex(std::uint8_t value, int count);

/// Firmware 4.3 replaced the beep volume by a beep mode with other captions.
bool UsesBeepMode(double firmware);
/// "Quick HIGH" and "Quick LOW" exist from firmware 3.32 on.
bool HasQuickBeeps(double firmware);

/// The beep button the record selects. At firmware 4.3 a beep mode outside the four known
/// values leaves `current` selected.
int BeepIndex(const ReaderSettings& settings, int current);
/// Stores a click on beep button `index`: at firmware 4.3 the first four write `BeepMode`,
/// everything else writes `BeepVolume`.
void StoreBeep(ReaderSettings& settings, int index);

}  // namespace ravelfin
