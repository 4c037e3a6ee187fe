#pragma once

#include <functional>
#include <vector>

#include "transport/pause.h"

namespace ravelfin {

/// A pause that returns at once and records how long it was asked to wait, so that tests can
/// check the protocol's pauses without waiting for them.
class RecordingPause final : public Pause {
public:
    void Wait(int milliseconds) override {
        Waits.push_back(milliseconds);
        if (OnWait)
            OnWait(milliseconds);
    }
    /// The sum of all recorded pauses in milliseconds.
    long long Total() const;

    std::vector<int> Waits;
    /// Called at each pause, for tests that look at what shows while the program waits.
    std::function<void(int)> OnWait;
};

}  // namespace ravelfin
