#pragma once

#include <string>

namespace ravelfin {

/// Where the reader flows send what they have to tell the user. The desktop program shows
/// the modal message window or the yellow notice; the command-line tool prints; tests record.
class Messenger {
public:
    virtual ~Messenger() = default;
    /// A message the user must acknowledge (the modal message window).
    virtual void ShowMessage(const std::string& text) = 0;
    /// A short-lived notice that needs no answer.
    virtual void ShowNotice(const std::string& text) = 0;
};

}  // namespace ravelfin
