#include "shell/editor_connection.h"

#include <memory>
#include <vector>

#include "connection/connection.h"
#include "transport/device_discovery.h"

namespace ravelfin {

namespace {
constexpr int kAdvancedAttempts = 10;
constexpr int kPauseBetweenAttempts = 300;

void PrepareRecord(Connection& connection) {
    if (!connection.Settings) {
        connection.Settings =
            std::make_unique<ReaderSettings>(static_cast<std::uint32_t>(connection.InterfaceType));
    }
}
}  // namespace

bool ConnectForBasicEditor(Connection& connection) {
    if (connection.IsConnected())
        return true;
    PrepareRecord(connection);
    connection.EnsureConnected();
    return connection.IsConnected();
}

bool ConnectForAdvancedEditor(Connection& connection) {
    if (connection.IsConnected())
        return true;
    PrepareRecord(connection);
    for (int attempt = 0; attempt < kAdvancedAttempts; ++attempt) {
        if (connection.EnsureConnected() && connection.IsConnected())
            return true;
        connection.Environment().GetPause().Wait(kPauseBetweenAttempts);
    }
    return false;
}

std::string WhyNoReader(Connection& connection) {
    std::vector<DeviceEntry> readers;
    for (int type : {kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid})
        ListDevices(connection.Environment().Devices(), type, readers);
    if (readers.empty())
        return "No reader was found: plug one in.";
    if (readers.size() > 1)
        return "Several readers are attached: choose the one to use.";
    return "The reader attached did not answer: check it, then choose it.";
}

}  // namespace ravelfin
