#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <cstdio>
#include <map>

#include "app/support/gui_test_support.h"

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

AppRig::AppRig(const Strings& readers) {
    for (const std::string& optionText : readers) {
        std::string error;
        if (!Machine.AddReaderFromOptionText(optionText, error))
            QTest::qFail(("cannot attach " + optionText + ": " + error).c_str(), __FILE__,
                         __LINE__);
    }
}

}  // namespace ravelfin::testing

// Runs the test class named by the first argument (a test file's name without extension),
// or every class when none is named. Further arguments go to Qt Test.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ravelfin::testing::PrepareApplication(application);
    const bool named = argc > 1 && argv[1][0] != '-';
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        if (!named || i != 1)
            arguments << QString::fromLocal8Bit(argv[i]);
    }
    int failures = 0, ran = 0;
    for (auto& [name, factory] : ravelfin::testing::Registry()) {
        if (!named || name == argv[1])
            ++ran, failures += QTest::qExec(factory().get(), arguments);
    }
    if (ran == 0)
        std::fprintf(stderr, "no test class for %s\n", named ? argv[1] : "any file");
    return ran == 0 ? 2 : failures == 0 ? 0 : 1;
}
