#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "connection/messenger.h"
#include "flows/flow_context.h"
#include "protocol/reader_settings.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// "Save to File": copies the firmware version of `transport` (when there is one) into
/// `settings`, since the file's FuncIDs follow it, and saves. Shows the saved or the failed
/// message in the wording of `editor` (kBasicSavedText / kBasicSaveFailedText,
/// kAdvancedSavedText / kAdvancedSaveFailedText). Returns true when the file was written.
bool SaveToFile(ReaderSettings& settings, const ReaderTransport* transport, const std::string& path,
                Editor editor, Messenger& messages);

/// "Load from File": loads `path` into `settings` without touching the reader. A load that
/// changes `HidFormat` sets `ReconnectPending`, so that the next send reopens the reset reader.
/// `KbPollIntervalRead` keeps the reader's value, so that the next send on a USB-HID-KB reader
/// still sees a new polling interval. On success calls `refreshPages`, then shows
/// kLoadedText; on failure shows kLoadFailedText and leaves `settings` as it was.
bool LoadFromFile(ReaderSettings& settings, const std::string& path, Messenger& messages,
                  const std::function<void()>& refreshPages = {});

/// "Load from File" from the bytes of a file read before: the same as `LoadFromFile`, so that
/// several readers can load one file read once.
bool LoadFromFileBytes(ReaderSettings& settings, std::span<const std::uint8_t> file,
                       Messenger& messages);

}  // namespace ravelfin
