#pragma once

namespace ravelfin {

/// Misbehaviour a test or --simulate switches on. The simulated devices carry the answer as the
/// fault says; `Answer` itself applies the faults that change the answer's bytes.
enum class SimulatedFault {
    None,
    NoAnswer,            // the reader stays silent and acts on nothing
    Nak,                 // the reader answers NAK to everything and acts on nothing
    WrongLrc,            // the last byte of every answer is corrupted
    CutShort,            // only the first half of every answer arrives
    UnpluggedMidAnswer,  // half of the answer arrives, then the reader is gone
    SlowAnswer,          // the answer comes only after `kSlowPolls` polls found nothing
    LateAnswer,          // the answer comes only after `kLatePolls` polls: past every time limit
    PortBusy,            // another program holds the device: opening fails
    RefusesSets,         // every set frame is answered 0x16 (unknown FuncID) and acts on nothing
};

}  // namespace ravelfin
