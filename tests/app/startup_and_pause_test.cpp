#include <QApplication>
#include <QTest>
#include <QTimer>

#include "app/app_options.h"
#include "app/qt_pause.h"
#include "app/support/gui_test_registry.h"

using namespace ravelfin;

class StartupAndPauseTest : public QObject {
    Q_OBJECT

  private slots:
    void theCommandLineTakesRepeatedReadersAndRefusesMistakes() {
        AppOptions options;
        std::string error;
        QVERIFY(ParseAppOptions(
            {"ravelfin-config", "--simulate", "usb-hid", "--simulate=rs232,firmware=V3.31"},
            options, error));
        QCOMPARE(options.SimulatedReaders.size(), std::size_t{2});
        QCOMPARE(options.SimulatedReaders[1].InterfaceType, std::uint32_t{kInterfaceRs232});
        QCOMPARE(options.SimulatedReaders[1].Firmware, std::string("V3.31"));
        QVERIFY(!options.ShowHelp);

        AppOptions help;
        QVERIFY(ParseAppOptions({"ravelfin-config", "--help"}, help, error));
        QVERIFY(help.ShowHelp);
        QVERIFY(AppUsage().find("--simulate READER") != std::string::npos);

        for (const QStringList& wrong : {QStringList{"ravelfin-config", "--simulate", "usb-floppy"},
                                         QStringList{"ravelfin-config", "--device", "/dev/hidraw0"},
                                         QStringList{"ravelfin-config", "report"},
                                         QStringList{"ravelfin-config", "--simulate"}}) {
            AppOptions rejected;
            error.clear();
            QVERIFY2(!ParseAppOptions(wrong, rejected, error), qPrintable(wrong.join(' ')));
            QVERIFY(!error.empty());
        }
    }

    void thePauseKeepsTimersRunningUnderTheWaitCursor() {
        int ticks = 0;
        Qt::CursorShape cursorDuring = Qt::ArrowCursor;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            ++ticks;
            if (const QCursor* cursor = QApplication::overrideCursor()) {
                cursorDuring = cursor->shape();
            }
        });
        ticker.start(1);
        QtPause pause;
        pause.Wait(40);
        ticker.stop();
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QCOMPARE(cursorDuring, Qt::WaitCursor);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

RAVELFIN_GUI_TEST(StartupAndPauseTest);
#include "startup_and_pause_test.moc"
