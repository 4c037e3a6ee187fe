#include "fleet/kept_messages.h"

#include <set>

#include "flows/flow_messages.h"

namespace ravelfin {

bool IsFailureText(const std::string& text) {
    static const std::set<std::string> kFailures = {
        kOpenFailedText,         kWriteFailedText,      kTooLongText,
        kUnknownFuncIdsText,     kBasicSaveFailedText,  kAdvancedSaveFailedText,
        kLoadFailedText,         kDefaultsFailedText,   kReopenForReadFailedText,
        kRereadFailedText,       kSelectSourceText,     kSelectTargetText,
        kNoMemoryText,           kSourceOpenFailedText, kTargetOpenFailedText,
        kSourceReadFailedText,   kReadFirstText,        kCloneFailedText,
        kEmptyCommandText,       kInvalidCommandText,   kNotFramedText,
        kUnknownCommandText,     kCommandFailedText,    kBootLoaderFailedText,
        "ERROR Interface Type!",
    };
    return kFailures.count(text) > 0;
}

}  // namespace ravelfin
