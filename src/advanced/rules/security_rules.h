#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace ravelfin {

/// Which of the encryption buttons "Clear Text", "Triple DES" and "AES" can be chosen.
struct EncryptionChoices {
    bool ClearText = true;
    bool TripleDes = true;
    bool Aes = true;
};

/// The choices the page offers for the record's security level and encryption: level '0'
/// and '3' rule out clear text, '1' and '2' allow everything, '4' nothing, other levels
/// leave `choices` as they were; the stored encryption always stays choosable, and an
/// encrypting reader can never go back to clear text.
EncryptionChoices ChoicesForRecord(EncryptionChoices choices, std::uint8_t level,
                                   std::uint8_t encryption);

/// The choices after a send, from what the reader reported: levels '0' to '3' allow the two
/// ciphers only, '4' nothing, any other byte (also 0 for no answer) changes nothing; the
/// record's encryption stays choosable, and clear text goes when the reader reports one of
/// the ciphers ('1' or '2').
EncryptionChoices ChoicesAfterSend(EncryptionChoices choices, std::uint8_t reportedLevel,
                                   std::uint8_t reportedEncryption, std::uint8_t recordEncryption);

enum class MaskCharCheck {
    kEmpty,    // the box is set to "*"
    kValid,    // one character from 0x1A to 0x7E
    kInvalid,  // one character outside 0x1A to 0x7E: "this MaskChar is invalid!"
    kTooLong,  // "Only one char is allowed!": the last character is kept
};

/// Judges the text of the "Mask Char:" box, given as UTF-16 code units.
MaskCharCheck CheckMaskChar(const std::u16string& text);

/// The text of the "Device Serial Number:" display: the characters after the length byte,
/// as many as it says (at most the ten that fit), or "" when the first character is a
/// control character or 0xFF (no serial number stored).
std::string SerialNumberText(const std::array<std::uint8_t, 11>& serial);

}  // namespace ravelfin
