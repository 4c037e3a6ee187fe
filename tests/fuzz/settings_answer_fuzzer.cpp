// The settings answer parser, then the encoder over what it parsed: a frame the encoder
// writes must parse again, and encoding that must give the same frame.

#include <cstdlib>
#include <span>

#include "protocol/interface_type.h"
#include "protocol/settings_encoder.h"
#include "protocol/settings_parser.h"
#include "protocol/test_records.h"

namespace {

using namespace ravelfin;

// The firmware versions at which the encoders choose other FuncIDs, and one beyond them.
constexpr double kVersions[] = {0.0, 3.31, 3.32, 3.33, 4.25, 4.26, 4.3, 5.0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::span<const std::uint8_t> answer(data + 1, size - 1);
    ReaderSettings strict(kInterfaceUsbHid);
    const bool framed = ParseSettingsAnswer(answer, strict);
    ReaderSettings record(kInterfaceUsbHid);
    const bool parsed = ParseSettings(answer, record);
    if (framed && !parsed)
        std::abort();  // a framed answer is also a parsed one
    if (!parsed)
        return 0;

    record.FirmwareVersionNumber = kVersions[data[0] % std::size(kVersions)];
    const Bytes first = Encoded(EncodeAllSettings, record);
    if (first.empty())
        return 0;  // content that cannot be framed
    ReaderSettings again(kInterfaceUsbHid);
    if (!ParseSettingsAnswer(first, again))
        std::abort();
    again.FirmwareVersionNumber = record.FirmwareVersionNumber;
    if (Encoded(EncodeAllSettings, again) != first)
        std::abort();

    // The two frames the reader is sent are cut from the same content.
    Encoded(EncodeGeneralSettings, record);
    Encoded(EncodeDataEditFrame, record);
    return 0;
}
