#include "fleet/reader_result.h"

namespace ravelfin {

const char* ResultStateText(ResultState state) {
    switch (state) {
        case ResultState::Ok:
            return "ok";
        case ResultState::Failed:
            return "failed";
        case ResultState::Stopped:
            return "stopped";
    }
    return "failed";
}

}  // namespace ravelfin
