#include "flows/flow_context.h"

#include "flows/flow_messages.h"
#include "transport/device_discovery.h"
#include "transport/version_answer.h"

namespace ravelfin {

namespace {

/// Opens the expected reader by the name it has now; false when it is not attached.
bool OpenByIdentity(ReaderTransport& transport, const ExpectedReader& expected, bool& found) {
    DeviceEntry entry;
    found = expected.Devices &&
            FindReader(*expected.Devices, expected.Identity, {transport.GetInterfaceType()}, entry);
    return found && transport.Open(entry.Name);
}

}  // namespace

ReaderCheck OpenExpectedReader(ReaderTransport& transport, const ExpectedReader& expected,
                               std::string* firmwareNow) {
    bool found = false;
    if (!OpenByIdentity(transport, expected, found)) {
        transport.Close();
        return found ? ReaderCheck::kOpenFailed : ReaderCheck::kGone;
    }
    if (expected.FirmwareText.empty())
        return ReaderCheck::kSameReader;
    // Asked afresh: the transport's cached text is the one read at connect. Another text is
    // asked for once more, so that an answer cut short is not taken for another reader: one
    // that is says the same twice.
    std::string now;
    for (int ask = 0; ask < 2; ++ask) {
        std::string text;
        if (!ExchangeVersionCommand(transport, text) || text.empty() ||
            (ask == 1 && text != now && text != expected.FirmwareText)) {
            break;
        }
        if (text == expected.FirmwareText)
            return ReaderCheck::kSameReader;
        if (ask == 1) {
            if (firmwareNow)
                *firmwareNow = text;
            transport.Close();
            return ReaderCheck::kOtherReader;
        }
        now = text;
    }
    transport.Close();
    return ReaderCheck::kNoAnswer;
}

ReaderTransport* OpenContextDevice(const FlowContext& context) {
    ReaderTransport* transport = context.Transport;
    if (transport && context.Expected) {
        std::string now;
        switch (OpenExpectedReader(*transport, *context.Expected, &now)) {
            case ReaderCheck::kSameReader:
                return transport;
            case ReaderCheck::kGone:
                context.Messages.OfferReaderSelection(ReaderGoneText(*context.Expected));
                return nullptr;
            case ReaderCheck::kOtherReader:
                context.Messages.OfferReaderSelection(OtherReaderText(*context.Expected, now));
                return nullptr;
            case ReaderCheck::kOpenFailed:
            case ReaderCheck::kNoAnswer:
                break;
        }
    } else if (transport && OpenDevice(*transport, context.Device)) {
        return transport;
    }
    if (transport)
        transport->Close();
    context.Messages.ShowMessage(kOpenFailedText);
    return nullptr;
}

bool ReopenContextDevice(const FlowContext& context) {
    ReaderTransport* transport = context.Transport;
    if (!transport)
        return false;
    if (!context.Expected)
        return OpenDevice(*transport, context.Device);
    bool found = false;
    return OpenByIdentity(*transport, *context.Expected, found);
}

std::string ReaderGoneText(const ExpectedReader& expected) {
    return "The reader you chose (" + expected.Identity.Describe() +
           ") is no longer attached; nothing was sent to any reader.";
}

std::string OtherReaderText(const ExpectedReader& expected, const std::string& firmwareNow) {
    return "Another reader answers in place of the one you chose (" + expected.Identity.Describe() +
           "): it reports " + firmwareNow + ", not " + expected.FirmwareText +
           "; nothing was sent to it.";
}

}  // namespace ravelfin
