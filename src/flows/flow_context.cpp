#include "flows/flow_context.h"

#include "flows/flow_messages.h"

namespace ravelfin {

ReaderTransport* OpenContextDevice(const FlowContext& context) {
    ReaderTransport* transport = context.Transport;
    if (transport && OpenDevice(*transport, context.Device))
        return transport;
    if (transport)
        transport->Close();
    context.Messages.ShowMessage(kOpenFailedText);
    return nullptr;
}

}  // namespace ravelfin
