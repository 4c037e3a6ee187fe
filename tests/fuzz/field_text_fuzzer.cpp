// The text forms of data-editing content: custom field definitions, formulas, and byte
// strings with named characters (added fields, prefixes) with their caret positions.

#include <cstdlib>
#include <string>

#include "dataedit/custom_field_text.h"
#include "dataedit/formula.h"
#include "protocol/char_names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ravelfin;
    // Every text form holds far fewer bytes than this; longer inputs only slow the run.
    if (size < 1 || size > 300)
        return 0;
    const Bytes bytes(data + 1, data + size);
    FormatCustomFieldText(bytes);
    FormatFormulaText(bytes, data[0] % 5 - 1);

    const std::string text = BytesToDisplayText(bytes);
    const int count = static_cast<int>(bytes.size());
    if (ByteIndexToDisplayPos(bytes, count) != static_cast<int>(text.size()))
        std::abort();
    // The caret never rests inside a name: every byte's first position maps back to the byte.
    for (int i = 0; i <= count && i < 16; ++i) {
        if (DisplayPosToByteIndex(bytes, ByteIndexToDisplayPos(bytes, i)) != i)
            std::abort();
    }
    return 0;
}
