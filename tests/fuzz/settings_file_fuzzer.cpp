// The configuration file loader over any file content: a refused file leaves the record alone,
// and a loaded record saved again loads to a record that saves to the same bytes.

#include <cstdlib>
#include <span>

#include "protocol/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ravelfin;
    ReaderSettings record;
    record.FirmwareVersionNumber = 4.3;
    const ReaderSettings before = record;
    if (!LoadSettingsFromBytes(record, std::span(data, size))) {
        if (!(record == before))
            std::abort();
        return 0;
    }
    Bytes first;
    if (!EncodeSettingsFile(record, first))
        return 0;  // content that cannot be framed
    ReaderSettings reloaded = before;
    if (!LoadSettingsFromBytes(reloaded, first))
        std::abort();
    Bytes second;
    if (!EncodeSettingsFile(reloaded, second) || second != first)
        std::abort();
    return 0;
}
