#include "app/support/gui_test_support.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace ravelfin::testing {

QPointer<QTimer> OnNextModal(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        // Give up after a while, so that a dialog that never opens fails the test instead of
        // leaving a poll behind for the next one.
        if (!modal && ++*tries < 400)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal)
            action(modal);
    });
    poll->start(5);
    return poll;
}

void StopPoll(QPointer<QTimer> poll) {
    if (!poll) return;
    poll->stop();
    poll->deleteLater();
}

void FireTimer(QTimer& timer) {
    timer.stop();
    QMetaObject::invokeMethod(&timer, "timeout");
}

SimulatedReaderOptions Reader(const std::string& spec) {
    SimulatedReaderOptions options;
    std::string error;
    if (!ParseSimulatedReaderSpec(spec, options, error)) {
        QTest::qFail(("bad reader spec: " + error).c_str(), __FILE__, __LINE__);
    }
    return options;
}

void Attach(SimulatedEnvironment& environment, const std::vector<std::string>& specs) {
    for (const std::string& spec : specs) {
        std::string error;
        if (!environment.AddReader(Reader(spec), error)) {
            QTest::qFail(("cannot attach: " + error).c_str(), __FILE__, __LINE__);
        }
    }
}

bool WriteFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

}  // namespace ravelfin::testing
