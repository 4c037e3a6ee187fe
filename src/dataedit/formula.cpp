#include "dataedit/formula.h"

#include <array>
#include <span>

namespace ravelfin {
namespace {

struct Spelling {
    std::uint8_t code;
    const char* text;
};

// Catalogue fields whose labels carry a digit in place of a field letter.
constexpr std::array kCreditCardSpellings{Spelling{0x2A, "10"}, Spelling{0x2B, "11"},
                                          Spelling{0x47, "20"}, Spelling{0x48, "21"}};
constexpr std::array kSecondSlotSpellings{Spelling{0x48, "20"}, Spelling{0x49, "21"},
                                          Spelling{0x4A, "22"}};
constexpr std::array kAamvaSpellings{Spelling{0x27, "10"}, Spelling{0x28, "11"},
                                     Spelling{0x29, "12"}, Spelling{0x49, "20"},
                                     Spelling{0x4A, "21"}, Spelling{0x4B, "22"}};

std::span<const Spelling> SpellingsOf(int slot) {
    switch (slot) {
        case kSlotCreditCard:
            return kCreditCardSpellings;
        case kSlotDmvOrCustom2:
            return kSecondSlotSpellings;
        case kSlotAamva:
            return kAamvaSpellings;
        default:
            return {};
    }
}

}  // namespace

std::string FormatFormulaText(const Bytes& codes, int slot) {
    const std::span<const Spelling> spellings = SpellingsOf(slot);
    std::string text;
    for (std::uint8_t code : codes) {
        std::string item = FieldCodeText(code);
        for (const Spelling& s : spellings) {
            if (s.code == code) {
                item = s.text;
            }
        }
        text += item;
    }
    return text;
}

bool AppendFormulaCode(const DataEditSettings& settings, int editedSlot, Bytes& workingSequence,
                       std::uint8_t code) {
    std::size_t storedTotal = 0;
    std::size_t othersAndWorking = workingSequence.size();
    for (std::size_t slot = 0; slot < kFormulaSlots; ++slot) {
        storedTotal += settings.formulas[slot].size();
        if (static_cast<int>(slot) != editedSlot) {
            othersAndWorking += settings.formulas[slot].size();
        }
    }
    if (storedTotal >= kMaxFormulaItems || othersAndWorking >= kMaxFormulaItems) {
        return false;
    }
    workingSequence.push_back(code);
    return true;
}

std::string TooManyFormulaItemsMessage() {
    return "Only " + std::to_string(kMaxFormulaItems) + " items can be added for Send Command.";
}

}  // namespace ravelfin
