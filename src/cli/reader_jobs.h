#pragma once

#include <cstdint>
#include <span>

#include "cli/fleet_runner.h"
#include "protocol/reader_settings.h"

namespace ravelfin::cli {

// One reader's part of the commands that work on several, as a worker runs it with an
// environment holding that reader only. Each says what the single-reader command would say.

/// `apply`: loads the configuration file's bytes (read once for all readers) into the
/// reader's record and sends it; reopens a reader that restarts to take the change.
FleetResult ApplyToReader(ReaderEnvironment& environment, const FleetTarget& target,
                          std::span<const std::uint8_t> file);
/// `defaults`: restores the factory settings and reads them back.
FleetResult RestoreReaderDefaults(ReaderEnvironment& environment, const FleetTarget& target);
/// `report`: the settings report, and the settings as JSON.
FleetResult ReportReader(ReaderEnvironment& environment, const FleetTarget& target);
/// `clone`: writes the general settings of `source`, read from another reader before.
FleetResult CloneToReader(ReaderEnvironment& environment, const FleetTarget& target,
                          const ReaderSettings& source);

}  // namespace ravelfin::cli
