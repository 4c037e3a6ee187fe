#include "flows/quick_clone.h"

#include <utility>

#include "flows/flow_messages.h"
#include "protocol/firmware_version.h"
#include "protocol/reader_operations.h"

namespace ravelfin {

QuickClone::QuickClone(TransportFactory factory, Messenger& messages)
    : factory_(std::move(factory)), messages_(messages) {}

std::unique_ptr<ReaderTransport> QuickClone::OpenChosen(int interfaceType,
                                                        const DeviceAddress& address,
                                                        const char* noChoiceText,
                                                        const char* openFailedText) {
    if (interfaceType <= 0) {
        messages_.ShowMessage(noChoiceText);
        return nullptr;
    }
    auto transport = factory_ ? factory_(interfaceType) : nullptr;
    if (!transport) {
        messages_.ShowMessage(kNoMemoryText);
        return nullptr;
    }
    if (!OpenDevice(*transport, address)) {
        messages_.ShowMessage(openFailedText);
        return nullptr;
    }
    return transport;
}

bool QuickClone::ReadSource(int interfaceType, const DeviceAddress& source) {
    auto transport = OpenChosen(interfaceType, source, kSelectSourceText, kSourceOpenFailedText);
    if (!transport)
        return false;
    // Only a reader that opened replaces the earlier read, whatever its read then gives.
    source_.reset();
    auto record = std::make_unique<ReaderSettings>(static_cast<std::uint32_t>(interfaceType));
    const bool read = ReadAllSettings(*record, transport.get());
    messages_.ShowMessage(read ? kSourceReadText : kSourceReadFailedText);
    transport->Close();
    if (read)
        source_ = std::move(record);
    return read;
}

int QuickClone::CloneTo(int interfaceType, const DeviceAddress& target) {
    if (!source_) {
        messages_.ShowMessage(kReadFirstText);
        return kWriteFailed;
    }
    auto transport = OpenChosen(interfaceType, target, kSelectTargetText, kTargetOpenFailedText);
    if (!transport)
        return kWriteFailed;
    // A record read afresh carries no firmware version, and encoded for none it would leave
    // out the beep mode: encode for the target reader instead.
    ReaderSettings copy = *source_;
    ClassifyModel(copy, *transport);
    // Reading the version closes the device behind it on both links.
    if (!OpenDevice(*transport, target)) {
        messages_.ShowMessage(kTargetOpenFailedText);
        return kWriteFailed;
    }
    const int result = WriteCloneSettings(copy, transport.get());
    messages_.ShowMessage(result == kWriteOk        ? kClonedText
                          : result == kWriteRefused ? kUnknownFuncIdsText
                                                    : kCloneFailedText);
    transport->Close();
    return result;
}

}  // namespace ravelfin
