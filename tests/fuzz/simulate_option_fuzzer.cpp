// The --simulate option parser: every refusal names what is wrong, and every reader it accepts
// without a settings file can be attached to a simulated machine.

#include <cstdlib>
#include <string>

#include "sim/simulated_environment.h"
#include "sim/simulated_reader_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ravelfin;
    const std::string optionText(data, data + size);
    SimulatedReaderOptions options;
    std::string error;
    if (!ParseSimulatedReaderOptions(optionText, options, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    if (!options.LoadFile.empty())
        return 0;  // the fuzzer reads no files
    SimulatedEnvironment machine;
    if (!machine.AddReader(options, error))
        std::abort();
    return 0;
}
