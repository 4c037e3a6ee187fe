#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "transport/device_discovery.h"

namespace ravelfin {

class Connection;
class Messenger;

/// What the interface wizard does with the reader: it lists the devices of each connection
/// group, probes them for their version texts, and connects to the one chosen, falling back
/// to a model number the user types when that fails.
///
/// Probes and attempts to connect go through connections of their own: the reader in use
/// stays as it was until a "CONTINUE" has connected another one, which then replaces it.
class InterfaceSelection {
  public:
    enum Group { kPs2Group = 0, kRs232Group = 1, kUsbGroup = 2 };
    /// One combo line: the probed version text ("" when it could not be read) and the device.
    struct Choice {
        std::string Text;
        DeviceEntry Device;
    };
    /// Asks for a model number; the interface type it names, or nothing when cancelled.
    using ModelNumberPrompt = std::function<std::optional<int>()>;

    InterfaceSelection(Connection& connection, Messenger& messenger);

    /// Lists the devices of the three groups afresh.
    void BuildLists();
    /// Probes every device of `group` in order and returns one choice per device. The
    /// connection in use is not touched.
    std::vector<Choice> ProbeGroup(int group);

    /// "CONTINUE" with the chosen device (nothing when the combo is empty). True when a
    /// reader is connected and the wizard may end; false when it stays.
    bool Continue(const std::optional<DeviceEntry>& chosen, const ModelNumberPrompt& prompt);
    /// "CANCEL": the reader in use stays the one used before the wizard opened.
    void Cancel();

    int CurrentGroup = kUsbGroup;
    int SelectedType = 3;
    int SelectedIndex = 0;

  private:
    /// Connects to `SelectedType`/`SelectedIndex` on a connection of its own and, when that
    /// succeeds, makes it the connection in use.
    bool ConnectSelected();

    Connection& connection_;
    Messenger& messenger_;
    std::array<std::vector<DeviceEntry>, 3> lists_;
};

/// How an interface type is called in the wizard's device lines ("USB HID keyboard").
const char* InterfaceKindName(int type);

}  // namespace ravelfin
