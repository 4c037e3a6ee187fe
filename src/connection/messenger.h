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
    /// The reader the user chose cannot be written to (it left, or another answers in its
    /// place): a message that also offers to choose a reader. The desktop program offers
    /// SELECT READER INTERFACE beside it; elsewhere it is a plain message.
    virtual void OfferReaderSelection(const std::string& text) { ShowMessage(text); }
};

}  // namespace ravelfin
