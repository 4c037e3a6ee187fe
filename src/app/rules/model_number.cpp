#include "app/rules/model_number.h"

#include <array>
#include <string_view>

#include "protocol/interface_type.h"

namespace ravelfin {

namespace {
constexpr std::array<std::string_view, 4> kKnownModels = {"RX-4410", "RX-4420", "RX-4430",
                                                          "RX-4440"};
constexpr std::size_t kMinLength = 8;
constexpr std::size_t kMaxLength = 18;

int InterfaceForDigit(char digit) {
    switch (digit) {
        case '2':
            return kInterfaceRs232;
        case '3':
            return kInterfacePs2;
        case '4':
            return kInterfaceUsbHidKb;
        case '5':
            return kInterfaceUsbHid;
        case '6':
            return kInterfaceUsbRs232;
        default:
            return kInterfaceUnknown;
    }
}
}  // namespace

ModelNumberCheck CheckModelNumber(const std::string& modelNumber, int& interfaceType) {
    if (modelNumber.empty())
        return ModelNumberCheck::kEmpty;
    if (modelNumber.size() < kMinLength || modelNumber.size() > kMaxLength) {
        return ModelNumberCheck::kUnknown;
    }
    const std::string_view model = std::string_view(modelNumber).substr(0, 7);
    bool known = false;
    for (std::string_view candidate : kKnownModels)
        known = known || candidate == model;
    if (!known)
        return ModelNumberCheck::kUnknown;
    interfaceType = InterfaceForDigit(modelNumber[7]);
    return ModelNumberCheck::kAccepted;
}

}  // namespace ravelfin
