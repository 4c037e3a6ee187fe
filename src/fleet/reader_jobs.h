#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "fleet/fleet_runner.h"
#include "protocol/reader_settings.h"

namespace ravelfin {

/// What `list` shows for a plain RS-232 port it did not ask for its firmware.
inline constexpr const char* kNotProbedText = "RS-232 port (not probed)";
/// What `apply --if-different` says of a reader that holds the file's settings already.
inline constexpr const char* kAlreadySetText =
    "The reader holds these settings already; nothing was written.";

/// Why opening `what` failed, in one line with what to do about it, for `Busy` and
/// `NoPermission` (the udev rule); the plain open failure otherwise.
std::string OpenFailureText(FailureKind kind, const std::string& what);

// One reader's part of each command that talks to readers, as a worker runs it with an
// environment holding that reader only. Each connects first (opens the reader, reads its
// settings and its firmware), says what the command would say for that reader, and on a
// failure tells its kind.

/// `list`: the firmware text alone, asked on a connection of its own; nothing else is read.
ReaderResult ProbeReader(WorkerEnvironment& environment, const FleetTarget& target);
/// `report`, `diff` and the source of `clone`: the settings, with the settings report as text
/// when `withReport`.
ReaderResult ReadReader(WorkerEnvironment& environment, const FleetTarget& target, bool withReport);
/// `save FILE`.
ReaderResult SaveReader(WorkerEnvironment& environment, const FleetTarget& target,
                        const std::string& path);
/// `apply`: loads the configuration file's bytes (read once for all readers) into the reader's
/// record and sends it, or with `ifDifferent` only when the reader holds other settings (see
/// `HeldSettings`); reopens a reader that restarts to take the change.
ReaderResult ApplyToReader(WorkerEnvironment& environment, const FleetTarget& target,
                           std::span<const std::uint8_t> file, bool ifDifferent);
/// `defaults`: restores the factory settings and reads them back.
ReaderResult RestoreReaderDefaults(WorkerEnvironment& environment, const FleetTarget& target);
/// `send COMMAND`: the raw command, its exchange as text.
ReaderResult SendCommandToReader(WorkerEnvironment& environment, const FleetTarget& target,
                                 const std::string& command);
/// `clone`: writes the general settings of `source`, read from another reader before, unless
/// the target is no longer attached.
ReaderResult CloneToReader(WorkerEnvironment& environment, const FleetTarget& target,
                           const ReaderSettings& source);
/// `diff FILE`: compares the reader with the file's settings `file` (see `CompareWithReader`).
ReaderResult CompareReader(WorkerEnvironment& environment, const FleetTarget& target,
                           const ReaderSettings& file);

}  // namespace ravelfin
