#pragma once

#include <string>
#include <vector>

#include "protocol/reader_settings.h"

namespace ravelfin {

/// The settings that an `apply` of `wanted` writes to `reader` and that the reader then holds
/// and reports: those the two frames for the reader's firmware carry (the beep mode only at
/// 4.3 and the beep volume elsewhere, Custom2 above 3.32, the security items above 4.25, the
/// encryption only where `wanted` sends it), less the security items on a reader whose model
/// class has none (10000). Never the security level: it is the reader's own, and no apply
/// writes it. Names as `SettingNames` gives them, in that order.
std::vector<std::string> HeldSettings(const ReaderSettings& reader, const ReaderSettings& wanted);

/// Compares what `reader` holds with the settings `wanted` of a file, as `diff` against a reader
/// does: `wanted` becomes what the reader's firmware stores (see `AsStoredBy`), then the
/// settings `HeldSettings` names are compared; `differing` gets those that differ. False,
/// leaving both alone, when `wanted` does not fit into a settings frame for the reader.
bool CompareWithReader(const ReaderSettings& reader, ReaderSettings& wanted,
                       std::vector<std::string>& differing);

}  // namespace ravelfin
