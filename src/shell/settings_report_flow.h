#pragma once

#include <string>

namespace ravelfin {

class Connection;
class Messenger;

/// The reader side of "CHECK CURRENT READER SETTINGS": connect or re-read the settings,
/// classify the model and build the report text.
class SettingsReportFlow {
  public:
    enum class Outcome {
        kReport,    // `report` holds the text to show
        kRefused,   // the wizard is open; a notice said so
        kNoReader,  // nothing is connected and none could be: select one
        kFailed,    // a message said what went wrong
    };

    SettingsReportFlow(Connection& connection, Messenger& messenger)
        : connection_(connection), messenger_(messenger) {}

    /// Runs the flow; `wizardExists` is whether the interface wizard is open.
    Outcome Run(bool wizardExists, std::string& report);

  private:
    bool ReadAgain();

    Connection& connection_;
    Messenger& messenger_;
};

}  // namespace ravelfin
