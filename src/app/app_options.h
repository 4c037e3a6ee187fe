#pragma once

#include <QStringList>
#include <string>
#include <vector>

#include "sim/simulated_reader_options.h"

namespace ravelfin {

/// What the command line asks of the desktop program.
struct AppOptions {
    /// Simulated readers to attach instead of the machine's devices, in order.
    std::vector<SimulatedReaderOptions> SimulatedReaders;
    bool ShowHelp = false;
    bool ShowVersion = false;
};

/// Reads `arguments` (the program name first). Returns false with a one-line `error` for
/// an unknown option or a reader description that cannot be read.
bool ParseAppOptions(const QStringList& arguments, AppOptions& options, std::string& error);

/// The text of --help.
std::string AppUsage();

}  // namespace ravelfin
