#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "protocol/bytes.h"
#include "protocol/reader_settings.h"

namespace ravelfin {

inline constexpr const char* kSettingsFileExtension = "cfs2";

/// Writes the record as a configuration file: the magic "KORVEXMSRCFG", the version "2000",
/// then the frame of EncodeAllSettings (at most 1024 bytes in all), through
/// ReplaceFileContents: the path holds the old file or the new one, never a part of either.
/// Returns false when the record cannot be encoded into the 1008 bytes a file has room for,
/// when an existing target is read-only, or when writing fails; the target then stays as it
/// was and no temporary file is left behind.
bool SaveSettingsFile(const ReaderSettings& record, const std::string& path);

/// The whole configuration file as SaveSettingsFile writes it; false when the record cannot be
/// encoded into the 1008 bytes a file has room for.
bool EncodeSettingsFile(const ReaderSettings& record, Bytes& file);

/// The bytes of the file at `path` (opened for reading only), for loading them once into the
/// records of several readers; false when it cannot be read, is longer than a configuration
/// file may be, or does not load (see LoadSettingsFromBytes).
bool ReadSettingsFile(const std::string& path, Bytes& file);

/// Reads a configuration file (opened for reading only) into `record`.
/// Returns false when the file cannot be read, is empty or longer than 1024 bytes, has a wrong
/// magic or version, does not start its frame with STX 'S', or fails to parse; the record is
/// then left exactly as it was. `InterfaceType`, `FirmwareVersionNumber`, `ModelClass`,
/// `ReconnectPending` and `HidFormatBeforeLoad` are never changed by a load.
bool LoadSettingsFile(ReaderSettings& record, const std::string& path);

/// LoadSettingsFile over the bytes of a file already read.
bool LoadSettingsFromBytes(ReaderSettings& record, std::span<const std::uint8_t> file);

}  // namespace ravelfin
