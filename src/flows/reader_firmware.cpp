#include "flows/reader_firmware.h"

#include <string>

#include "protocol/firmware_version.h"

namespace ravelfin {

namespace {
constexpr int kPauseBeforeVersion = 500;
}  // namespace

double ReadFirmwareNumber(const FlowContext& context) {
    ReaderTransport* transport = context.Transport;
    if (!transport)
        return 0.0;
    double number = 0.0;
    if (ReopenContextDevice(context)) {
        context.Waits.Wait(kPauseBeforeVersion);
        std::string text;
        if (transport->GetFirmwareVersion(text))
            number = ParseVersionNumber(text);
    }
    transport->Close();
    return number;
}

}  // namespace ravelfin
