#pragma once

#include <QDialog>
#include <QPushButton>

#include "app/settings_dialogs.h"
#include "app/support/recording_messenger.h"
#include "connection/connection.h"
#include "controls/skinned_dialog.h"
#include "sim/simulated_environment.h"

namespace ravelfin::testing {

/// A machine of simulated readers whose pauses return at once, a connection to it and a
/// messenger that records.
struct AppRig {
    SimulatedEnvironment Machine;
    RecordingMessenger Messages;
    Connection Link{Machine, Messages};

    ~AppRig() {
        Link.Settings.reset();
        Link.Transport.reset();
    }
    /// Every pause asked for since the last call, then forgets them.
    std::vector<int> TakePauses() {
        std::vector<int> waits = Machine.RecordedPauses().Waits;
        Machine.RecordedPauses().Waits.clear();
        return waits;
    }
};

/// Stand-ins for the two settings editors: pages with a close button that has the focus.
class StubEditors final : public SettingsDialogs {
  public:
    QDialog* CreateBasic(QWidget* parent) override { return Make(parent, "basic"); }
    QDialog* CreateAdvanced(QWidget* parent) override { return Make(parent, "advanced"); }
    void ReaderReopened(QDialog& advanced) override { Reopened.push_back(&advanced); }

    int Created = 0;
    std::vector<QDialog*> Reopened;

  private:
    QDialog* Make(QWidget* parent, const char* name) {
        auto* page = new SkinnedDialog(parent, SkinnedDialog::PageTag{});
        page->setObjectName(QString::fromLatin1(name));
        auto* close = new QPushButton(QStringLiteral("Close"), page);
        close->setObjectName(QStringLiteral("close"));
        QObject::connect(close, &QPushButton::clicked, page, &QDialog::reject);
        page->setFocusProxy(close);
        ++Created;
        return page;
    }
};

}  // namespace ravelfin::testing
