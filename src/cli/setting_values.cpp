#include "cli/setting_values.h"

#include <cctype>
#include <charconv>

#include "protocol/char_names.h"

namespace ravelfin::cli {

namespace {

bool ParseNumber(std::string_view text, unsigned& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// Built by appending: GCC 12 warns on "literal" + a temporary string (-Wrestrict, a false
// positive of its inlined insert: a literal never lies inside the string).
std::string Quoted(std::string_view text) {
    std::string quoted = "'";
    quoted += text;
    quoted += '\'';
    return quoted;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool ParseArray(std::string_view text, Bytes& bytes, std::string& error) {
    text = Trimmed(text);
    if (text.size() < 2 || text.back() != ']') {
        error = "an array of bytes is written [1, 2, 0x2A]";
        return false;
    }
    text = Trimmed(text.substr(1, text.size() - 2));
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = Trimmed(text.substr(0, comma));
        unsigned value = 0;
        if (!ParseNumber(item, value) || value > 255) {
            error = Quoted(item) + " is not a byte from 0 to 255";
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
        if (comma == std::string_view::npos)
            break;
        text = text.substr(comma + 1);
        if (Trimmed(text).empty()) {
            error = "an array of bytes does not end with a comma";
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParseByteValue(const std::string& text, std::uint8_t& value) {
    unsigned number = 0;
    if (!ParseNumber(Trimmed(text), number) || number > 255)
        return false;
    value = static_cast<std::uint8_t>(number);
    return true;
}

bool ParseByteString(const std::string& text, Bytes& bytes, std::string& error) {
    bytes.clear();
    if (!Trimmed(text).empty() && Trimmed(text).front() == '[')
        return ParseArray(text, bytes, error);
    return ParseNamedText(text, NamedTextForm::kEscaped, bytes, error);
}

}  // namespace ravelfin::cli
