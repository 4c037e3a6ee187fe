#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <map>
#include <string>

#include "app/support/gui_test_registry.h"
#include "controls/skin_style.h"

namespace ravelfin::testing {

namespace {
std::map<std::string, GuiTestFactory>& Registry() {
    static std::map<std::string, GuiTestFactory> tests;
    return tests;
}
}  // namespace

bool RegisterGuiTest(const char* sourceFile, GuiTestFactory factory) {
    Registry()[QFileInfo(QString::fromUtf8(sourceFile)).completeBaseName().toStdString()] =
        std::move(factory);
    return true;
}

}  // namespace ravelfin::testing

// Runs the test class named by the first argument (a test file's name without extension),
// or every class when none is named. Further arguments go to Qt Test.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvane-Ravelfin"));
    QApplication::setApplicationName(QStringLiteral("ravelfin-config-tests"));
    ravelfin::InstallSkin(application);

    // The preferences of the tests never touch the user's own.
    QTemporaryDir settingsHome;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsHome.path());

    std::string only;
    QStringList arguments{QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i) {
        if (i == 1 && argv[i][0] != '-') {
            only = argv[i];
        } else {
            arguments << QString::fromLocal8Bit(argv[i]);
        }
    }
    auto& tests = ravelfin::testing::Registry();
    if (!only.empty() && !tests.count(only)) {
        std::fprintf(stderr, "no test class for '%s'\n", only.c_str());
        return 2;
    }
    int failures = 0;
    for (auto& [name, factory] : tests) {
        if (!only.empty() && name != only)
            continue;
        std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), arguments);
    }
    return failures == 0 ? 0 : 1;
}
