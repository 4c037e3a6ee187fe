#include <QCoreApplication>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/file_commands.h"

using namespace ravelfin::cli;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("ravelfin");
    QCoreApplication::setApplicationVersion(PROJECT_VERSION_TEXT);

    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, cl, error)) {
        PrintError("ravelfin: " + error + " (see ravelfin --help)");
        return kExitUsage;
    }
    if (cl.help) {
        PrintText(UsageText());
        return kExitOk;
    }
    if (cl.version) {
        PrintText(std::string("ravelfin ") + PROJECT_VERSION_TEXT + "\n");
        return kExitOk;
    }
    if (cl.command == "show") return RunShow(cl);
    if (cl.command == "convert") return RunConvert(cl);
    if (cl.command == "new") return RunNew(cl);
    PrintError("ravelfin: '" + cl.command + "' is not available yet");
    return kExitFailed;
}
