#include "advanced/rules/security_rules.h"

#include <algorithm>

namespace ravelfin {

namespace {
constexpr std::uint8_t kClearText = '0';
constexpr std::uint8_t kTripleDes = '1';
constexpr std::uint8_t kAes = '2';

void KeepStoredChoosable(EncryptionChoices& choices, std::uint8_t encryption) {
    if (encryption == kClearText)
        choices.ClearText = true;
    if (encryption == kTripleDes)
        choices.TripleDes = true;
    if (encryption == kAes)
        choices.Aes = true;
}
}  // namespace

EncryptionChoices ChoicesForRecord(EncryptionChoices choices, std::uint8_t level,
                                   std::uint8_t encryption) {
    switch (level) {
        case '0':
        case '3':
            choices = {false, true, true};
            break;
        case '1':
        case '2':
            choices = {true, true, true};
            break;
        case '4':
            choices = {false, false, false};
            break;
        default:
            break;
    }
    KeepStoredChoosable(choices, encryption);
    if (encryption != kClearText)
        choices.ClearText = false;
    return choices;
}

EncryptionChoices ChoicesAfterSend(EncryptionChoices choices, std::uint8_t reportedLevel,
                                   std::uint8_t reportedEncryption, std::uint8_t recordEncryption) {
    if (reportedLevel >= '0' && reportedLevel <= '3')
        choices = {false, true, true};
    if (reportedLevel == '4')
        choices = {false, false, false};
    KeepStoredChoosable(choices, recordEncryption);
    // Only a cipher the reader names rules clear text out: a byte that names none (an answer
    // cut short, a refusal) says nothing about what the reader does.
    if (reportedEncryption == kTripleDes || reportedEncryption == kAes)
        choices.ClearText = false;
    return choices;
}

MaskCharCheck CheckMaskChar(const std::u16string& text) {
    if (text.empty())
        return MaskCharCheck::kEmpty;
    if (text.size() > 1)
        return MaskCharCheck::kTooLong;
    return text[0] > 0x19 && text[0] < 0x7F ? MaskCharCheck::kValid : MaskCharCheck::kInvalid;
}

std::string SerialNumberText(const std::array<std::uint8_t, 11>& serial) {
    const std::uint8_t first = serial[1];
    if (first <= 0x19 || first == 0xFF)
        return {};
    const std::size_t length = std::min<std::size_t>(serial[0], serial.size() - 1);
    return std::string(serial.begin() + 1,
                       serial.begin() + 1 + static_cast<std::ptrdiff_t>(length));
}

}  // namespace ravelfin
