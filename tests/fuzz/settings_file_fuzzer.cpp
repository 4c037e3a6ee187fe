// The configuration file loader over any file content: a refused file leaves the record alone,
// and a loaded record saved again loads to a record that saves to the same bytes.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>

#include "protocol/settings_encoder.h"
#include "protocol/settings_file.h"

namespace {

using File = std::array<std::uint8_t, 1024>;

/// The file SaveSettingsFile writes for `record`; false when it does not fit.
bool FileOf(const ravelfin::ReaderSettings& record, File& file, std::size_t& length) {
    file = {'K', 'O', 'R', 'V', 'E', 'X', 'M', 'S', 'R', 'C', 'F', 'G', '2', '0', '0', '0'};
    if (!ravelfin::EncodeAllSettings(record, std::span(file).subspan(16), length))
        return false;
    length += 16;
    return true;
}

}  // namespace

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
    File first;
    std::size_t firstLength = 0;
    if (!FileOf(record, first, firstLength))
        return 0;  // content that cannot be framed
    ReaderSettings reloaded = before;
    if (!LoadSettingsFromBytes(reloaded, std::span(first).first(firstLength)))
        std::abort();
    File second;
    std::size_t secondLength = 0;
    if (!FileOf(reloaded, second, secondLength) || secondLength != firstLength ||
        !std::equal(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(firstLength),
                    second.begin())) {
        std::abort();
    }
    return 0;
}
