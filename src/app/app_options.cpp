#include "app/app_options.h"

#include <QCommandLineParser>

namespace ravelfin {

namespace {
QCommandLineOption SimulateOption() {
    return QCommandLineOption(QStringLiteral("simulate"),
                              QStringLiteral("Attach a simulated reader instead of the "
                                             "machine's readers (repeatable)."),
                              QStringLiteral("READER"));
}
}  // namespace

std::string AppUsage() {
    return "Usage: ravelfin-config [--simulate READER]... | --help | --version\n"
           "\n"
           "Configures Orvane Ravelfin magnetic-stripe card readers.\n"
           "\n"
           "Options:\n"
           "  --simulate READER  attach a simulated reader instead of the machine's readers;\n"
           "                     repeat it for more than one. READER is\n"
           "                     TYPE[,firmware=TEXT][,pid=HEX][,security-level=D][,load=FILE]\n"
           "                     [,arrive=MS][,leave=MS][,fault=FAULT] with TYPE one of\n"
           "                     rs232, usb-rs232, usb-hid-kb, usb-hid; MS milliseconds after\n"
           "                     the start; FAULT no-answer, nak, wrong-lrc, cut-short, unplug\n"
           "                     or busy.\n"
           "  -h, --help         show this text and exit.\n"
           "  --version          show the version and exit.\n"
           "\n"
           "Without --simulate the program talks to the readers attached to this computer.\n";
}

bool ParseAppOptions(const QStringList& arguments, AppOptions& options, std::string& error) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption simulate = SimulateOption();
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(simulate);
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(arguments)) {
        error = parser.errorText().toStdString();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = "unexpected argument: " + parser.positionalArguments().first().toStdString();
        return false;
    }
    options.ShowHelp = parser.isSet(help);
    options.ShowVersion = parser.isSet(version);
    for (const QString& optionText : parser.values(simulate)) {
        SimulatedReaderOptions reader;
        std::string why;
        if (!ParseSimulatedReaderOptions(optionText.toStdString(), reader, why)) {
            error = "--simulate " + optionText.toStdString() + ": " + why;
            return false;
        }
        options.SimulatedReaders.push_back(reader);
    }
    return true;
}

}  // namespace ravelfin
