// Measures the longest time the user interface thread processes no events while
// "CHECK CURRENT READER SETTINGS" runs on a simulated reader, with the program's real
// pause: a timer asks to run every millisecond, and the longest gap between two of its runs
// is the longest stall.
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

#include "app/qt_pause.h"
#include "sim/simulated_environment.h"
#include "app/support/gui_test_support.h"

using namespace ravelfin;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    testing::PrepareApplication(application);
    QtPause pause;
    SimulatedEnvironment machine(pause);
    std::string error;
    machine.AddReader(SimulatedReaderOptions{}, error);
    testing::ShownWindow app(machine);

    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.nsecsElapsed() - last);
        last = clock.nsecsElapsed();
    });
    int status = 0;
    for (const char* run : {"first check (finds and connects the reader)",
                            "second check (reads the connected reader again)"}) {
        bool reported = false;
        // The first report comes after seconds: the poll never gives up.
        testing::OnNextModal([&reported](QWidget* report) { reported = true, report->close(); },
                             -1);
        longest = last = 0;
        clock.start();
        ticker.start(1);
        app.window.CheckCurrentSettings();
        ticker.stop();
        std::printf("%s: report %s after %.0f ms; longest stall %.1f ms\n", run,
                    reported ? "shown" : "NOT shown", clock.nsecsElapsed() / 1e6, longest / 1e6);
        status |= reported ? 0 : 1;
    }
    return status;
}
