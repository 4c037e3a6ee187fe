#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/interface_type.h"
#include "sim/simulated_fault.h"

namespace ravelfin {

/// What a simulated reader is: how it is attached, its firmware and its identity.
struct SimulatedReaderOptions {
    std::uint32_t InterfaceType = kInterfaceUsbHid;  // 1, 3, 4 or 5
    std::string Firmware = "V4.30";
    /// USB product id of a HID reader; 0 picks 0x4206 (HID) or 0x4106 (keyboard).
    std::uint16_t ProductId = 0;
    char SecurityLevel = '1';
    /// Starting settings from this configuration file instead of the factory defaults.
    std::string LoadFile;
    /// Up to 10 characters; 8 or more for the reader's answer to carry it.
    std::string SerialNumber = "SN00000001";
    /// Length of one HID feature report including the report-id byte.
    std::size_t FeatureReportLength = 33;
    /// When the reader is plugged in and pulled out, in milliseconds after the simulated
    /// machine starts its clock; -1: attached from the start, respectively never pulled out.
    int ArriveAfterMs = -1;
    int LeaveAfterMs = -1;
    /// How the reader misbehaves from the start.
    SimulatedFault Fault = SimulatedFault::None;
};

/// The serial number that the `ordinal`-th reader of a machine gets when it keeps the default
/// one (SN00000001, SN00000002, ...), so that no two readers of a machine share it.
std::string NumberedSerialNumber(std::size_t ordinal);

/// Reads `TYPE[,firmware=TEXT][,pid=HEX][,security-level=D][,load=FILE][,arrive=MS]
/// [,leave=MS][,fault=FAULT]`, TYPE one of rs232, usb-rs232, usb-hid-kb, usb-hid; pid is
/// hexadecimal with or without 0x and applies to the two USB HID types only; D is a digit 0
/// to 4; MS a number of milliseconds (leave after arrive); FAULT one of no-answer, nak,
/// wrong-lrc, cut-short, unplug, busy. Returns false with a one-line
/// `error` naming what is wrong; `out` is then unspecified.
bool ParseSimulatedReaderOptions(const std::string& optionText, SimulatedReaderOptions& out,
                                 std::string& error);

}  // namespace ravelfin
