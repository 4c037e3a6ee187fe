#pragma once

#include <string>

namespace ravelfin {

class Connection;

/// The connection steps of the two CHANGE buttons. Each returns true when the connection
/// holds both a transport and a settings record afterwards; false leaves no message.
///
/// The basic editor tries `EnsureConnected` once; the advanced editor up to ten times,
/// 300 ms apart. A connection that lacks its transport or its record is tried again each
/// time, so a reader plugged in after a failed attempt is found by the next click.
bool ConnectForBasicEditor(Connection& connection);
bool ConnectForAdvancedEditor(Connection& connection);

/// Why no reader could be taken without asking, for the wizard that then opens: none
/// attached, several attached, or the one attached did not answer.
std::string WhyNoReader(Connection& connection);

}  // namespace ravelfin
