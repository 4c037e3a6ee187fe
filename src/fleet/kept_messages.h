#pragma once

#include <string>
#include <vector>

#include "connection/messenger.h"

namespace ravelfin {

/// True for the flows' texts that report a failure or a warning.
bool IsFailureText(const std::string& text);

/// Keeps what the flows say about one reader, for its result line.
class KeptMessages final : public Messenger {
  public:
    void ShowMessage(const std::string& text) override { texts_.push_back(text); }
    void ShowNotice(const std::string& text) override { texts_.push_back(text); }
    void OfferReaderSelection(const std::string& text) override { lost_ = text; }
    /// That the reader could not be written to, else the first failure said, else the last
    /// message.
    std::string Outcome() const {
        if (!lost_.empty())
            return lost_;
        for (const std::string& text : texts_) {
            if (IsFailureText(text))
                return text;
        }
        return texts_.empty() ? "" : texts_.back();
    }
    /// The reader chosen was not the one that answered, or was gone.
    bool Lost() const { return !lost_.empty(); }

  private:
    std::vector<std::string> texts_;
    std::string lost_;
};

}  // namespace ravelfin
