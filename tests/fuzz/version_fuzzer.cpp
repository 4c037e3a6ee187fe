// The firmware version answer, ParseVersionNumber and the model classification that follows
// them, over any answer and product id.

#include <cmath>
#include <cstdlib>
#include <span>
#include <string>

#include "protocol/firmware_version.h"
#include "protocol/interface_type.h"
#include "transport/version_answer.h"

namespace {

/// A reader that has already answered the version read with `Text`.
class AnsweredTransport final : public ravelfin::ReaderTransport {
  public:
    bool GetFirmwareVersion(std::string& out) override {
        out = Text;
        return !Text.empty();
    }
    bool OpenByIndex(int) override { return true; }
    bool Open(const std::string&) override { return true; }
    bool Close() override { return true; }
    bool Exchange(std::span<const std::uint8_t>, std::span<std::uint8_t>,
                  std::size_t& recvLen) override {
        recvLen = 0;
        return false;
    }
    int GetInterfaceType() const override { return ravelfin::kInterfaceUsbHid; }
    bool IsReady() const override { return true; }
    std::string GetDeviceName() const override { return ""; }
    std::string Text;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ravelfin;
    if (size < 2)
        return 0;
    const std::span<const std::uint8_t> answer(data + 2, size - 2);
    const std::string raw(answer.begin(), answer.end());
    const double direct = ParseVersionNumber(raw);
    if (!std::isfinite(direct) || direct < 0)
        std::abort();

    AnsweredTransport transport;
    transport.Text = VersionTextFromAnswer(answer);
    transport.ProductId = static_cast<std::uint32_t>(data[0] << 8 | data[1]);
    // An unknown product id leaves both classes alone.
    transport.ModelClass = 7;
    ReaderSettings record(kInterfaceUsbHid);
    record.ModelClass = 7;
    const bool classified = ClassifyModel(record, transport);
    if (classified != !transport.Text.empty())
        std::abort();
    if (classified && (record.FirmwareVersionNumber != transport.FirmwareVersionNumber ||
                       record.ModelClass != transport.ModelClass)) {
        std::abort();
    }
    return 0;
}
