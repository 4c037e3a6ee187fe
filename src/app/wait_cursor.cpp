#include "app/wait_cursor.h"

#include <QApplication>
#include <QEvent>
#include <vector>

namespace ravelfin {

namespace {

bool IsUserInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::ContextMenu:
            return true;
        case QEvent::Close:
            return event.spontaneous();  // the window manager's close button
        default:
            return false;
    }
}

// Swallows user input while the innermost cursor scope is the wait cursor.
class InputGate final : public QObject {
  public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        return DiscardingInput() && IsUserInput(*event);
    }
};

std::vector<Qt::CursorShape>& Scopes() {
    static std::vector<Qt::CursorShape> shapes;
    return shapes;
}

void InstallGate() {
    static InputGate* gate = nullptr;
    if (!gate && qApp) {
        gate = new InputGate;
        gate->setParent(qApp);
        qApp->installEventFilter(gate);
    }
}

}  // namespace

bool DiscardingInput() {
    return !Scopes().empty() && Scopes().back() == Qt::WaitCursor;
}

CursorScope::CursorScope(Qt::CursorShape shape) {
    InstallGate();
    Scopes().push_back(shape);
    QApplication::setOverrideCursor(shape);
}

CursorScope::~CursorScope() {
    // Input that came while the conversation blocked the thread is still queued: it is
    // delivered, and so discarded, before the gate opens.
    if (DiscardingInput())
        QCoreApplication::processEvents();
    Scopes().pop_back();
    QApplication::restoreOverrideCursor();
}

}  // namespace ravelfin
