// The desktop program's window on the machine's own readers (no --simulate), driven as a
// user would: it opens the interface wizard, prints the readers listed there, continues with
// the first, asks for the current settings and prints the report shown. Run by the test
// machine's scenarios under Xvfb; the exit status is 0 when a report was shown.
#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "app/interface_wizard.h"
#include "app/main_window.h"
#include "app/qt_messenger.h"
#include "app/qt_pause.h"
#include "app/settings_editors.h"
#include "connection/connection.h"
#include "controls/config_file_chooser.h"
#include "controls/skin_style.h"
#include "report/ui/settings_report_dialog.h"
#include "transport/real/real_environment.h"

using namespace ravelfin;

namespace {

void Print(const char* what, const QString& text) {
    std::printf("%s: %s\n", what, text.simplified().toUtf8().constData());
    std::fflush(stdout);
}

/// Calls `action` with the next modal window of type T once it shows.
template <typename T>
void OnNextModal(std::function<void(T*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (T* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            action(modal);
        }
    });
    poll->start(20);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    InstallSkin(application);
    QtPause pause;
    RealEnvironment machine(pause);
    QtMessenger messenger;
    Connection connection(machine, messenger);
    QtConfigFileChooser files;
    SettingsEditors editors(connection, messenger, files);
    bool reported = false;
    {
        MainWindow window(connection, messenger, editors);
        messenger.SetWindow(&window, [](const QString& text) { Print("notice", text); });
        window.show();
        QTimer::singleShot(0, &window, [&] {
            window.SelectReaderInterface();
            auto* wizard = window.findChild<InterfaceWizard*>();
            if (!wizard || wizard->DeviceCombo()->count() == 0) {
                Print("wizard", "no reader listed");
                QApplication::quit();
                return;
            }
            QStringList listed;
            for (int i = 0; i < wizard->DeviceCombo()->count(); ++i)
                listed << wizard->DeviceCombo()->itemText(i);
            Print("wizard", listed.join(" | "));
            wizard->DeviceCombo()->setCurrentIndex(0);
            wizard->ContinueButton()->click();
            QTimer::singleShot(0, &window, [&] {
                OnNextModal<SettingsReportDialog>([&](SettingsReportDialog* dialog) {
                    Print("report", dialog->ShownText());
                    reported = true;
                    dialog->accept();
                });
                window.CheckCurrentSettings();
                QApplication::quit();
            });
        });
        QApplication::exec();
    }
    connection.Settings.reset();
    connection.Transport.reset();
    return reported ? 0 : 1;
}
