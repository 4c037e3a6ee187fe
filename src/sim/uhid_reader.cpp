#include "sim/uhid_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <initializer_list>

#include <linux/input.h>
#include <linux/uhid.h>
#include <unistd.h>

#include "protocol/command_frame.h"
#include "protocol/interface_type.h"
#include "transport/device_discovery.h"

namespace ravelfin {

namespace {

/// Card data from the reader; longer than the feature report, so that a host that takes the
/// wrong report's length gets it wrong.
constexpr std::uint16_t kCardDataBytes = 64;

// One by one: GCC 12 warns on a range inserted into a vector whose size it knows
// (-Wstringop-overread, a false positive of its reallocating path).
void Append(Bytes& descriptor, std::initializer_list<std::uint8_t> items) {
    for (const std::uint8_t item : items)
        descriptor.push_back(item);
}

void AppendCount(Bytes& descriptor, std::size_t count) {
    Append(descriptor, {0x96, static_cast<std::uint8_t>(count & 0xFF),
                        static_cast<std::uint8_t>((count >> 8) & 0xFF)});
}

bool IsEmptyReport(const std::uint8_t* payload, std::size_t size) {
    return size > 0 && payload[0] == kNak &&
           std::all_of(payload + 1, payload + size, [](auto b) { return b == 0; });
}

void CopyText(char* field, std::size_t size, const std::string& text) {
    std::strncpy(field, text.c_str(), size - 1);
}

}  // namespace

Bytes ReaderReportDescriptor(bool keyboard, std::size_t featureReportLength) {
    Bytes descriptor;
    if (keyboard) {
        // The boot keyboard: modifiers, a reserved byte, five LEDs and six key codes.
        Append(descriptor,
               {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15,
                0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08,
                0x81, 0x01, 0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91,
                0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00,
                0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0});
    }
    // Vendor page 0xFF00: card data in, command frames in feature reports both ways.
    Append(descriptor, {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
                        0x75, 0x08, 0x09, 0x20});
    AppendCount(descriptor, kCardDataBytes);
    Append(descriptor, {0x81, 0x02, 0x09, 0x21});
    AppendCount(descriptor, featureReportLength - 1);
    Append(descriptor, {0xB1, 0x02, 0xC0});
    return descriptor;
}

UhidReader::UhidReader(SimulatedReader& reader, int channel, std::string phys,
                       std::chrono::milliseconds restartTime)
    : reader_(reader),
      channel_(channel),
      phys_(std::move(phys)),
      restartTime_(restartTime),
      reports_(reader) {
    reader_.SetResetHandler([this] { BeginRestart(); });
}

UhidReader::~UhidReader() {
    reader_.SetResetHandler(nullptr);
    Destroy();
    if (channel_ >= 0)
        ::close(channel_);
}

bool UhidReader::Write(const void* event, std::size_t size) {
    for (;;) {
        const ssize_t n = ::write(channel_, event, size);
        if (n < 0 && errno == EINTR)
            continue;
        return n == static_cast<ssize_t>(size);
    }
}

bool UhidReader::Create(std::string& error) {
    const std::size_t featureLength = reader_.Options().FeatureReportLength;
    const Bytes descriptor =
        ReaderReportDescriptor(reader_.InterfaceType() == kInterfaceUsbHidKb, featureLength);
    uhid_event event{};
    event.type = UHID_CREATE2;
    uhid_create2_req& create = event.u.create2;
    CopyText(reinterpret_cast<char*>(create.name), sizeof create.name, "Orvane Ravelfin MSR");
    CopyText(reinterpret_cast<char*>(create.phys), sizeof create.phys, phys_);
    CopyText(reinterpret_cast<char*>(create.uniq), sizeof create.uniq,
             reader_.Options().SerialNumber);
    create.bus = BUS_USB;
    create.vendor = kReaderVendorId;
    create.product = reader_.ProductId();
    create.rd_size = static_cast<std::uint16_t>(descriptor.size());
    std::memcpy(create.rd_data, descriptor.data(), descriptor.size());
    if (!Write(&event, sizeof event)) {
        error = std::string("the kernel refused the HID device: ") + std::strerror(errno);
        return false;
    }
    present_ = true;
    return true;
}

void UhidReader::Destroy() {
    if (!present_)
        return;
    uhid_event event{};
    event.type = UHID_DESTROY;
    Write(&event, sizeof event);
    present_ = false;
    answering_ = false;
    reports_.Reset();
}

void UhidReader::BeginRestart() {
    Destroy();
    away_ = true;
    returnAt_ = Clock::now() + restartTime_;
}

long long UhidReader::MsUntilReturn(Clock::time_point now) const {
    if (!away_)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(returnAt_ - now).count();
    return left > 0 ? left : 0;
}

bool UhidReader::ReturnIfDue(Clock::time_point now, std::string& error) {
    error.clear();
    if (!away_ || now < returnAt_)
        return false;
    away_ = false;
    reader_.FinishReset();
    return Create(error);
}

bool UhidReader::HandleEvent() {
    uhid_event event{};
    const ssize_t n = ::read(channel_, &event, sizeof event);
    if (n < 0)
        return errno == EINTR || errno == EAGAIN;
    if (n == 0)
        return false;
    // Requests the kernel sent before the device was destroyed have no one to answer them.
    if (!present_)
        return true;
    const std::size_t length = reader_.Options().FeatureReportLength;
    switch (event.type) {
        case UHID_GET_REPORT: {
            uhid_event reply{};
            reply.type = UHID_GET_REPORT_REPLY;
            reply.u.get_report_reply.id = event.u.get_report.id;
            const bool feature =
                event.u.get_report.rtype == UHID_FEATURE_REPORT && event.u.get_report.rnum == 0;
            // Byte 0 carries the report id (none: 0), the payload follows.
            const bool delivered =
                feature && reports_.Get(std::span(reply.u.get_report_reply.data + 1, length - 1));
            if (delivered)
                reply.u.get_report_reply.size = static_cast<std::uint16_t>(length);
            else
                reply.u.get_report_reply.err = EIO;
            // A reply the kernel no longer waits for fails; the device serves on.
            Write(&reply, sizeof reply);
            if (!delivered && !reader_.IsPlugged()) {
                Destroy();  // pulled out, and what it had is said: gone for good
            } else if (delivered) {
                // A keyboard stays open as long as the console listens to it, so the host
                // letting go cannot be waited for: a reader whose answer is all said and
                // asked for more restarts then, if a change made that due.
                const bool empty = IsEmptyReport(reply.u.get_report_reply.data + 1, length - 1);
                if (empty && answering_)
                    reader_.EndSession();
                answering_ = !empty;
            }
            return true;
        }
        case UHID_SET_REPORT: {
            const uhid_set_report_req& request = event.u.set_report;
            uhid_event reply{};
            reply.type = UHID_SET_REPORT_REPLY;
            reply.u.set_report_reply.id = request.id;
            // Like the reader's USB controller: only whole feature reports of the described
            // length are taken.
            const bool whole = request.rtype == UHID_FEATURE_REPORT && request.rnum == 0 &&
                               request.size == length && request.data[0] == 0;
            if (!whole || !reports_.Set(std::span(request.data + 1, length - 1)))
                reply.u.set_report_reply.err = EIO;
            Write(&reply, sizeof reply);
            return true;
        }
        case UHID_CLOSE:
            // The last program let go: a reset that a change made due begins now.
            reports_.Reset();
            reader_.EndSession();
            return true;
        default:
            return true;  // start, stop, open, LED output: nothing to do
    }
}

}  // namespace ravelfin
