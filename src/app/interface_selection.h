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
    /// connection describes the last device probed afterwards.
    std::vector<Choice> ProbeGroup(int group);

    /// "CONTINUE" with the chosen device (nothing when the combo is empty). True when a
    /// reader is connected and the wizard may end; false when it stays.
    bool Continue(const std::optional<DeviceEntry>& chosen, const ModelNumberPrompt& prompt);
    /// "CANCEL".
    void Cancel();

    int CurrentGroup = kUsbGroup;
    int SelectedType = 3;
    int SelectedIndex = 0;

  private:
    bool ConnectSelected();

    Connection& connection_;
    Messenger& messenger_;
    std::array<std::vector<DeviceEntry>, 3> lists_;
};

}  // namespace ravelfin
