#include <QApplication>
#include <QTest>
#include <qpa/qwindowsysteminterface.h>

#include "app/app_options.h"
#include "app/qt_pause.h"
#include "app/support/gui_test_registry.h"

using namespace ravelfin;

namespace {
// Receives key presses and says whether one came while `busy` was set.
class KeyCounter final : public QWidget {
public:
    int Keys = 0;
    int KeysWhileBusy = 0;
    bool Busy = false;

protected:
    void keyPressEvent(QKeyEvent* /*event*/) override {
        ++Keys;
        if (Busy) ++KeysWhileBusy;
    }
};
}  // namespace

class StartupAndPauseTest : public QObject {
    Q_OBJECT

private slots:
    void theCommandLineTakesRepeatedReadersAndRefusesMistakes() {
        AppOptions options;
        std::string error;
        QVERIFY(ParseAppOptions({"ravelfin-config", "--simulate", "usb-hid",
                                 "--simulate=rs232,firmware=V3.31"},
                                options, error));
        QCOMPARE(options.SimulatedReaders.size(), std::size_t{2});
        QCOMPARE(options.SimulatedReaders[1].InterfaceType, std::uint32_t{kInterfaceRs232});
        QCOMPARE(options.SimulatedReaders[1].Firmware, std::string("V3.31"));
        QVERIFY(!options.ShowHelp);

        AppOptions help;
        QVERIFY(ParseAppOptions({"ravelfin-config", "--help"}, help, error));
        QVERIFY(help.ShowHelp);
        QVERIFY(AppUsage().find("--simulate READER") != std::string::npos);

        for (const QStringList& wrong :
             {QStringList{"ravelfin-config", "--simulate", "usb-floppy"},
              QStringList{"ravelfin-config", "--device", "/dev/hidraw0"},
              QStringList{"ravelfin-config", "report"}, QStringList{"ravelfin-config", "--simulate"}}) {
            AppOptions rejected;
            error.clear();
            QVERIFY2(!ParseAppOptions(wrong, rejected, error), qPrintable(wrong.join(' ')));
            QVERIFY(!error.empty());
        }
    }

    void thePauseKeepsTimersRunningAndHoldsInputBack() {
        KeyCounter window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(1);
        // A key typed while the pause runs.
        QTimer::singleShot(5, [&] {
            QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
                window.windowHandle(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier,
                QStringLiteral("a"));
            QCOMPARE(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                    : Qt::ArrowCursor,
                     Qt::WaitCursor);
        });

        window.Busy = true;
        QtPause pause;
        pause.Wait(40);
        window.Busy = false;
        ticker.stop();

        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QCOMPARE(window.KeysWhileBusy, 0);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QTRY_COMPARE(window.Keys, 1);  // delivered once the pause is over
    }
};

RAVELFIN_GUI_TEST(StartupAndPauseTest);
#include "startup_and_pause_test.moc"
