#include "protocol/char_names.h"

#include <string_view>
#include <utility>

namespace ravelfin {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/// The longest character name at the start of `text`, as its index; -1 when none.
int NameAt(std::string_view text) {
    int best = -1;
    for (int i = 0; i < CharNameCount(); ++i) {
        const std::string name = CharNameAt(i);
        if (!name.empty() && text.substr(0, name.size()) == name &&
            (best < 0 || name.size() > CharNameAt(best).size())) {
            best = i;
        }
    }
    return best;
}

constexpr CharNameEntry Row(std::uint8_t code, const char* name) {
    return {code, name, static_cast<std::uint32_t>(std::string_view(name).size())};
}

}  // namespace

const std::array<CharNameEntry, kCharNameCount> kCharNameTable = {{
    Row(0x00, "\\nul"),        Row(0x01, "\\soh"),        Row(0x02, "\\stx"),
    Row(0x03, "\\etx"),        Row(0x04, "\\eot"),        Row(0x05, "\\enq"),
    Row(0x06, "\\ack"),        Row(0x07, "\\bel"),        Row(0x08, "\\bs"),
    Row(0x09, "\\ht"),         Row(0x0A, "\\lf"),         Row(0x0B, "\\vt"),
    Row(0x0C, "\\ff"),         Row(0x0D, "\\cr"),         Row(0x0E, "\\so"),
    Row(0x0F, "\\si"),         Row(0x10, "\\dle"),        Row(0x11, "\\dc1"),
    Row(0x12, "\\dc2"),        Row(0x13, "\\dc3"),        Row(0x14, "\\dc4"),
    Row(0x15, "\\nak"),        Row(0x16, "\\syn"),        Row(0x17, "\\etb"),
    Row(0x18, "\\can"),        Row(0x19, "\\em"),         Row(0x1A, "\\sub"),
    Row(0x1B, "\\esc"),        Row(0x1C, "\\fs"),         Row(0x1D, "\\gs"),
    Row(0x1E, "\\rs"),         Row(0x1F, "\\us"),         Row(0x81, "\\f1"),
    Row(0x82, "\\f2"),         Row(0x83, "\\f3"),         Row(0x84, "\\f4"),
    Row(0x85, "\\f5"),         Row(0x86, "\\f6"),         Row(0x87, "\\f7"),
    Row(0x88, "\\f8"),         Row(0x89, "\\f9"),         Row(0x8A, "\\fa"),
    Row(0x8B, "\\fb"),         Row(0x8C, "\\fc"),         Row(0x8D, "\\home"),
    Row(0x8E, "\\end"),        Row(0x8F, "\\right"),      Row(0x90, "\\left"),
    Row(0x91, "\\up"),         Row(0x92, "\\down"),       Row(0x93, "\\pgup"),
    Row(0x94, "\\pgdn"),       Row(0x95, "\\tab"),        Row(0x96, "\\btab"),
    Row(0x97, "\\esc"),        Row(0x98, "\\enter"),      Row(0x99, "\\num_enter"),
    Row(0x9A, "\\del"),        Row(0x9B, "\\ins"),        Row(0x9C, "\\bs"),
    Row(0x9D, "\\sp"),         Row(0x9E, "\\ps"),         Row(0x9F, "\\ctr1"),
    Row(0xA0, "\\ctr2"),       Row(0xA1, "\\ctr3"),       Row(0xA2, "\\l_ctrl_bk"),
    Row(0xA3, "\\l_ctrl_mk"),  Row(0xA4, "\\l_shift_bk"), Row(0xA5, "\\l_shift_mk"),
    Row(0xA6, "\\l_windows"),  Row(0xA7, "\\l_alt_bk"),   Row(0xA8, "\\l_alt_mk"),
    Row(0xA9, "\\r_ctrl_bk"),  Row(0xAA, "\\r_ctrl_mk"),  Row(0xAB, "\\r_shift_bk"),
    Row(0xAC, "\\r_shift_mk"), Row(0xAD, "\\r_windows"),  Row(0xAE, "\\r_alt_bk"),
    Row(0xAF, "\\r_alt_mk"),   Row(0xB0, "\\num_lock"),   Row(0xB1, "\\num0"),
    Row(0xB2, "\\num1"),       Row(0xB3, "\\num2"),       Row(0xB4, "\\num3"),
    Row(0xB5, "\\num4"),       Row(0xB6, "\\num5"),       Row(0xB7, "\\num6"),
    Row(0xB8, "\\num7"),       Row(0xB9, "\\num8"),       Row(0xBA, "\\num9"),
    Row(0xBB, "\\num_home"),   Row(0xBC, "\\num_pgup"),   Row(0xBD, "\\num_pgdn"),
    Row(0xBE, "\\num_end"),    Row(0xBF, "\\num_up"),     Row(0xC0, "\\num_right"),
    Row(0xC1, "\\num_down"),   Row(0xC2, "\\num_left"),   Row(0xC3, "\\prt_sc"),
    Row(0xC4, "\\sysrq"),      Row(0xC5, "\\scroll"),     Row(0xC6, "\\menu"),
    Row(0xC7, "\\break"),      Row(0xC8, "\\caps_lock"),  Row(0xC9, "\\num_/"),
    Row(0xCA, "\\num_*"),      Row(0xCB, "\\num_-"),      Row(0xCC, "\\num_+"),
    Row(0xCD, "\\num_del"),    Row(0xCE, "\\num_ins"),    Row(0xD1, "\\cr_lf"),
}};

bool FindCharName(std::uint8_t code, int& index) {
    for (int i = 0; i < kCharNameCount; ++i) {
        if (kCharNameTable[static_cast<std::size_t>(i)].code == code) {
            index = i;
            return true;
        }
    }
    return false;
}

int CharNameCount() {
    return kCharNameCount;
}

namespace {

const CharNameEntry* RowAt(int index) {
    if (index < 0 || index >= kCharNameCount) {
        return nullptr;
    }
    return &kCharNameTable[static_cast<std::size_t>(index)];
}

int DisplayWidth(std::uint8_t code) {
    int index = 0;
    return FindCharName(code, index) ? CharNameLengthAt(index) : 1;
}

}  // namespace

std::string CharNameAt(int index) {
    const CharNameEntry* row = RowAt(index);
    return row ? std::string(row->name) : std::string();
}

int CharNameLengthAt(int index) {
    const CharNameEntry* row = RowAt(index);
    return row ? static_cast<int>(row->nameLength) : 0;
}

std::uint8_t CharCodeAt(int index) {
    const CharNameEntry* row = RowAt(index);
    return row ? row->code : 0;
}

std::string ByteToDisplayText(std::uint8_t code) {
    int index = 0;
    if (FindCharName(code, index)) {
        return CharNameAt(index);
    }
    return std::string(1, static_cast<char>(code));
}

std::string BytesToDisplayText(const Bytes& bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        text += ByteToDisplayText(b);
    }
    return text;
}

int DisplayPosToByteIndex(const Bytes& bytes, int pos) {
    int sum = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        sum += DisplayWidth(bytes[i]);
        if (sum > pos) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(bytes.size());
}

int ByteIndexToDisplayPos(const Bytes& bytes, int index) {
    int pos = 0;
    for (int i = 0; i < index && i < static_cast<int>(bytes.size()); ++i) {
        pos += DisplayWidth(bytes[static_cast<std::size_t>(i)]);
    }
    return pos;
}

bool ParseNamedText(std::string_view text, NamedTextForm form, Bytes& bytes, std::string& error) {
    const bool escaped = form == NamedTextForm::kEscaped;
    bytes.clear();
    std::size_t p = 0;
    while (p < text.size()) {
        if (text[p] != '\\') {
            bytes.push_back(static_cast<std::uint8_t>(text[p++]));
            continue;
        }
        const std::string_view rest = text.substr(p + 1);
        if (escaped && !rest.empty() && rest[0] == '\\') {
            bytes.push_back('\\');
            p += 2;
        } else if (escaped && rest.size() > 1 && (rest[0] == 'x' || rest[0] == 'X') &&
                   HexDigit(rest[1]) >= 0) {
            int value = HexDigit(rest[1]);
            p += 3;
            if (p < text.size() && HexDigit(text[p]) >= 0)
                value = value * 16 + HexDigit(text[p++]);
            bytes.push_back(static_cast<std::uint8_t>(value));
        } else if (const int name = NameAt(text.substr(p)); name >= 0) {
            bytes.push_back(CharCodeAt(name));
            p += CharNameAt(name).size();
        } else if (!escaped) {
            bytes.push_back('\\');
            ++p;
        } else {
            // Built in a string of its own, not from "literal" + string nor by assigning a
            // literal: GCC 12 warns on both (-Wrestrict, a false positive of its inlined copy).
            std::string message(1, '\'');
            message += text.substr(p, 6);
            message += "' is neither \\x and hexadecimal digits nor the name of a character";
            error = std::move(message);
            return false;
        }
    }
    return true;
}

}  // namespace ravelfin
