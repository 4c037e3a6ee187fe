// The value parser of `ravelfin set`: byte values and byte strings as users type them. Every
// refusal says why, and what a byte string parses to is written back in both of the forms the
// parser reads (\xHH escapes, a byte array) and must parse to the same bytes.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/setting_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ravelfin;
    const std::string text(data, data + size);
    std::uint8_t value = 0;
    cli::ParseByteValue(text, value);

    Bytes bytes;
    std::string error;
    if (!cli::ParseByteString(text, bytes, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    std::string escaped;
    std::string array = "[";
    for (std::uint8_t b : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", b);
        escaped += hex;
        array += (array.size() > 1 ? ", " : "") + std::to_string(b);
    }
    array += "]";
    for (const std::string& again : {escaped, array}) {
        Bytes reparsed;
        if (!cli::ParseByteString(again, reparsed, error) || reparsed != bytes)
            std::abort();
    }
    return 0;
}
