// The firmware version answer, ParseVersionNumber and the model classification that follows
// them, over any answer and product id.

#include <cmath>
#include <cstdlib>
#include <span>
#include <string>

#include "protocol/firmware_version.h"
#include "support/scripted_transport.h"
#include "transport/version_answer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ravelfin;
    if (size < 2)
        return 0;
    const std::span<const std::uint8_t> answer(data + 2, size - 2);
    const std::string raw(answer.begin(), answer.end());
    const double direct = ParseVersionNumber(raw);
    if (!std::isfinite(direct) || direct < 0)
        std::abort();

    // A reader that has already answered the version read.
    testing::ExchangeLog log;
    testing::ScriptedTransport transport(log);
    transport.Version = VersionTextFromAnswer(answer);
    transport.ProductId = static_cast<std::uint32_t>(data[0] << 8 | data[1]);
    // An unknown product id leaves both classes alone.
    transport.ModelClass = 7;
    ReaderSettings record(kInterfaceUsbHid);
    record.ModelClass = 7;
    const bool classified = ClassifyModel(record, transport);
    if (classified != !transport.Version.empty())
        std::abort();
    if (classified && (record.FirmwareVersionNumber != transport.FirmwareVersionNumber ||
                       record.ModelClass != transport.ModelClass)) {
        std::abort();
    }
    return 0;
}
