// Measures the longest time the user interface thread processes no events while
// "CHECK CURRENT READER SETTINGS" runs on a simulated reader, with the program's real
// pause. A timer asks to run every millisecond; the longest gap between two of its runs is
// the longest stall.
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#include "app/main_window.h"
#include "app/qt_messenger.h"
#include "app/qt_pause.h"
#include "app/settings_dialogs.h"
#include "app/tools/tool_support.h"
#include "connection/connection.h"
#include "sim/simulated_environment.h"

using namespace ravelfin;

namespace {

struct GapMeter {
    QElapsedTimer clock;
    QTimer ticker;
    qint64 last = 0;
    qint64 longest = 0;

    GapMeter() {
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
    }
    void Start() {
        longest = 0;
        clock.start();
        last = 0;
        ticker.start(1);
    }
    double Stop() {
        ticker.stop();
        return longest / 1e6;
    }
};

// Runs the report once; returns its wall time in milliseconds.
double RunReport(MainWindow& window, bool& shown) {
    shown = false;
    tools::OnNextModal([&shown](QWidget* report) {
        shown = true;
        report->close();
    });
    QElapsedTimer wall;
    wall.start();
    window.CheckCurrentSettings();
    return wall.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvane-Ravelfin"));
    QApplication::setApplicationName(QStringLiteral("ravelfin-config-stall-probe"));
    QTemporaryDir settingsHome;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome.path());

    QtPause pause;
    SimulatedEnvironment machine(pause);
    SimulatedReaderOptions reader;
    std::string error;
    machine.AddReader(reader, error);
    QtMessenger messenger;
    Connection connection(machine, messenger);
    NoSettingsDialogs editors;
    int status = 0;
    {
        MainWindow window(connection, messenger, editors);
        messenger.SetWindow(&window, [&window](const QString& text) { window.ShowNotice(text); });
        window.show();
        QApplication::processEvents();

        GapMeter meter;
        const char* runs[2] = {"first check (finds and connects the reader)",
                               "second check (reads the connected reader again)"};
        for (const char* run : runs) {
            bool shown = false;
            meter.Start();
            const double wall = RunReport(window, shown);
            const double stall = meter.Stop();
            std::printf("%s: report %s after %.0f ms; longest stall %.1f ms\n", run,
                        shown ? "shown" : "NOT shown", wall, stall);
            if (!shown)
                status = 1;
        }
    }
    connection.Settings.reset();
    connection.Transport.reset();
    return status;
}
