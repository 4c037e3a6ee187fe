#include "transport/transport_factory.h"

#include "protocol/interface_type.h"
#include "transport/hid_transport.h"
#include "transport/serial_transport.h"

namespace ravelfin {

std::unique_ptr<ReaderTransport> MakeTransport(int type, ReaderEnvironment& environment) {
    switch (type) {
        case kInterfaceRs232:
        case kInterfaceUsbRs232: return std::make_unique<SerialTransport>(type, environment);
        case kInterfaceUsbHidKb:
        case kInterfaceUsbHid: return std::make_unique<HidTransport>(type, environment);
        default: return nullptr;
    }
}

}  // namespace ravelfin
