#pragma once

namespace ravelfin {

/// The selection the program remembers between runs, in the per-user settings of the
/// organisation "Orvane-Ravelfin", section "Settings".
struct Preferences {
    int InterfaceType = 0;
    int DeviceIndex = -1;
};

/// The stored values; the defaults for those that are absent or not numbers.
Preferences LoadPreferences();
/// Writes both values and flushes them to the store.
void SavePreferences(const Preferences& preferences);

}  // namespace ravelfin
