#include "sim/recording_pause.h"

#include <numeric>

namespace ravelfin {

long long RecordingPause::Total() const {
    return std::accumulate(Waits.begin(), Waits.end(), 0LL);
}

}  // namespace ravelfin
