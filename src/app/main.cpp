#include <QApplication>
#include <csignal>
#include <cstdio>
#include <memory>

#include "app/app_options.h"
#include "app/artwork.h"
#include "app/main_window.h"
#include "app/qt_messenger.h"
#include "app/qt_pause.h"
#include "app/settings_editors.h"
#include "connection/connection.h"
#include "controls/config_file_chooser.h"
#include "controls/skin_style.h"
#include "sim/simulated_clock.h"
#include "sim/simulated_environment.h"
#include "transport/real/real_environment.h"

using namespace ravelfin;

namespace {

// The machine's readers, or the simulated ones the command line describes.
std::unique_ptr<ReaderEnvironment> MakeEnvironment(const AppOptions& options, Pause& pause) {
    if (options.SimulatedReaders.empty())
        return std::make_unique<RealEnvironment>(pause);
    auto simulated = std::make_unique<SimulatedEnvironment>(pause);
    for (const SimulatedReaderOptions& reader : options.SimulatedReaders) {
        std::string error;
        if (!simulated->AddReader(reader, error)) {
            std::fprintf(stderr, "ravelfin-config: %s\n", error.c_str());
            return nullptr;
        }
    }
    return simulated;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Past a file size limit a save then fails with its message instead of ending the program
    // and the edits still open in it.
    std::signal(SIGXFSZ, SIG_IGN);
    // The options are read before the window system is touched, so that --help and a
    // mistyped option work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    AppOptions options;
    std::string error;
    if (!ParseAppOptions(arguments, options, error)) {
        std::fprintf(stderr, "ravelfin-config: %s\nTry 'ravelfin-config --help'.\n", error.c_str());
        return 2;
    }
    if (options.ShowHelp) {
        std::fputs(AppUsage().c_str(), stdout);
        return 0;
    }
    if (options.ShowVersion) {
        std::fputs("ravelfin-config " PROJECT_VERSION_TEXT "\n", stdout);
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvane-Ravelfin"));
    QApplication::setApplicationName(QStringLiteral("ravelfin-config"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("com.orvane.RavelfinConfig"));
    QApplication::setWindowIcon(ApplicationIcon());
    InstallSkin(application);

    QtPause pause;
    std::unique_ptr<ReaderEnvironment> machine = MakeEnvironment(options, pause);
    if (!machine)
        return 2;
    // Simulated readers with arrive= or leave= times come and go by the wall clock.
    std::unique_ptr<SimulatedClock> clock;
    if (auto* simulated = dynamic_cast<SimulatedEnvironment*>(machine.get())) {
        clock = std::make_unique<SimulatedClock>(*simulated);
        clock->Start();
    }
    QtMessenger messenger;
    Connection connection(*machine, messenger);
    QtConfigFileChooser files;
    SettingsEditors editors(connection, messenger, files);

    int status = 0;
    {
        MainWindow window(connection, messenger, editors);
        messenger.SetWindow(&window, [&window](const QString& text) { window.ShowNotice(text); });
        messenger.SetReaderSelection([&window] { window.ChooseAnotherReader(); });
        QObject::connect(&window, &MainWindow::Closed, &application, &QApplication::quit,
                         Qt::QueuedConnection);
        window.show();
        status = QApplication::exec();
    }
    // The record and the transport go before the machine they came from.
    connection.Settings.reset();
    connection.Transport.reset();
    return status;
}
