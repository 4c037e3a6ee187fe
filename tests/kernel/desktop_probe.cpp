// The desktop program's window on the machine's own readers (no --simulate), driven as a
// user would: it opens the interface wizard, prints the readers listed there, continues with
// the first, asks for the current settings and prints the report shown. Run by the test
// machine's scenarios under Xvfb; the exit status is 0 when a report was shown.
#include <QComboBox>
#include <cstdio>

#include "app/interface_wizard.h"
#include "app/qt_pause.h"
#include "app/support/gui_test_support.h"
#include "report/ui/settings_report_dialog.h"
#include "transport/real/real_environment.h"

using namespace ravelfin;

namespace {

void Print(const char* what, const QString& text) {
    std::printf("%s: %s\n", what, text.simplified().toUtf8().constData());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    testing::PrepareApplication(application);
    QtPause pause;
    RealEnvironment machine(pause);
    testing::ShownWindow app(machine);
    app.window.SelectReaderInterface();
    InterfaceWizard* wizard = app.window.Wizard();
    QStringList listed;
    for (int i = 0; wizard && i < wizard->DeviceCombo()->count(); ++i)
        listed << wizard->DeviceCombo()->itemText(i);
    Print("wizard", listed.join(" | "));
    if (listed.isEmpty())
        return 1;
    wizard->DeviceCombo()->setCurrentIndex(0);
    wizard->ContinueButton()->click();
    while (app.window.Wizard())
        QApplication::processEvents();
    bool reported = false;
    testing::OnNextModalOf<SettingsReportDialog>(
        [&reported](SettingsReportDialog* dialog) {
            Print("report", dialog->ShownText());
            reported = true;
            dialog->accept();
        },
        -1);
    app.window.CheckCurrentSettings();
    return reported ? 0 : 1;
}
