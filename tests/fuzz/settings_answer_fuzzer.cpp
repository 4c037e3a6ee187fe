// The settings answer parser, then the encoder over what it parsed: a frame the encoder
// writes must parse again, and encoding that must give the same frame.

#include <array>
#include <cstdlib>
#include <span>

#include "protocol/interface_type.h"
#include "protocol/settings_encoder.h"
#include "protocol/settings_parser.h"

namespace {

// The firmware versions at which the encoders choose other FuncIDs, and one beyond them.
constexpr double kVersions[] = {0.0, 3.31, 3.32, 3.33, 4.25, 4.26, 4.3, 5.0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ravelfin;
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
    std::array<std::uint8_t, 1024> first{};
    std::size_t firstLength = 0;
    if (!EncodeAllSettings(record, first, firstLength))
        return 0;  // content that cannot be framed

    ReaderSettings again(kInterfaceUsbHid);
    if (!ParseSettingsAnswer(std::span(first).first(firstLength), again))
        std::abort();
    again.FirmwareVersionNumber = record.FirmwareVersionNumber;
    std::array<std::uint8_t, 1024> second{};
    std::size_t secondLength = 0;
    if (!EncodeAllSettings(again, second, secondLength))
        std::abort();
    if (secondLength != firstLength ||
        !std::equal(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(firstLength),
                    second.begin())) {
        std::abort();
    }

    // The two frames the reader is sent are cut from the same content.
    std::size_t length = 0;
    EncodeGeneralSettings(record, first, length);
    EncodeDataEditFrame(record, first, length);
    return 0;
}
