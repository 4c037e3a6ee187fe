#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/bytes.h"

namespace ravelfin {

/// One named byte: a control character or a key code that is shown by its name.
struct CharNameEntry {
    std::uint8_t code;         // the byte stored in settings and sent to the reader
    const char* name;          // backslash and mnemonic, e.g. "\stx"
    std::uint32_t nameLength;  // characters of `name`, backslash included
};

inline constexpr int kCharNameCount = 111;

/// The names in pick-list order; a pick at position i yields the code of row i.
extern const std::array<CharNameEntry, kCharNameCount> kCharNameTable;

/// Finds the first row whose code is `code`. Returns true and stores the row in `index`;
/// returns false and leaves `index` alone when the byte has no name.
bool FindCharName(std::uint8_t code, int& index);

/// Number of rows (111).
int CharNameCount();

/// Row accessors for an index from `FindCharName` or a pick list filled from the table.
/// An index outside 0..110 gives "", 0 and 0 respectively.
std::string CharNameAt(int index);
int CharNameLengthAt(int index);
std::uint8_t CharCodeAt(int index);

/// The name of `code`, or the one character of that code (ISO 8859-1) when it has none.
std::string ByteToDisplayText(std::uint8_t code);

/// The display texts of every byte run together; "" for no bytes.
std::string BytesToDisplayText(const Bytes& bytes);

/// The forms `ParseNamedText` reads besides the character names.
enum class NamedTextForm {
    kEscaped,  // also "\x" with one or two hexadecimal digits, and "\\" for a backslash; any
               // other backslash that begins no name makes the text malformed
    kShown,    // only the names: any other backslash is itself, as a box shows a typed one
};

/// Reads text in which a character name ("\cr", "\stx", ...) stands for its byte and every
/// other character (ISO 8859-1) for itself, with the escapes of `form`. Where names overlap
/// the longest wins ("\cr_lf" before "\cr"); a name of two codes gives the first row's
/// ("\esc" 0x1B, "\bs" 0x08). Replaces `bytes` and returns true. Returns false with a
/// one-line `error` for malformed text (never with `kShown`); `bytes` then holds nothing of
/// use.
bool ParseNamedText(std::string_view text, NamedTextForm form, Bytes& bytes, std::string& error);

/// The byte under display position `pos`: a position inside a name maps to its byte;
/// a position at or past the end of the text maps to the byte count.
int DisplayPosToByteIndex(const Bytes& bytes, int pos);

/// The display position of the first character of byte `index`; 0 for an index below 1,
/// the length of the whole text for an index at or past the byte count.
int ByteIndexToDisplayPos(const Bytes& bytes, int index);

}  // namespace ravelfin
