#pragma once

#include <string>
#include <vector>

#include "connection/messenger.h"

namespace ravelfin::testing {

/// Keeps every message and notice instead of showing it.
class RecordingMessenger final : public Messenger {
  public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void ShowNotice(const std::string& text) override { Notices.push_back(text); }

    void Clear() {
        Messages.clear();
        Notices.clear();
    }

    std::vector<std::string> Messages;
    std::vector<std::string> Notices;
};

}  // namespace ravelfin::testing
