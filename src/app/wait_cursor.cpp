#include "app/wait_cursor.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>
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
        default:
            return false;
    }
}

struct Scope {
    Qt::CursorShape shape;
    QPointer<QWidget> modal;  // the modal window in front when the scope began
};

std::vector<Scope>& Scopes() {
    static std::vector<Scope> scopes;
    return scopes;
}

// A modal window that opened during the conversation asks the user something: it takes
// input as usual.
bool InModalOpenedSince(const Scope& scope, QObject* receiver) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == scope.modal)
        return false;
    if (auto* widget = qobject_cast<QWidget*>(receiver))
        return widget->window() == modal;
    return receiver == modal->windowHandle();
}

// Swallows user input while the innermost cursor scope is the wait cursor.
class InputGate final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return DiscardingInput() && IsUserInput(*event) &&
               !InModalOpenedSince(Scopes().back(), watched);
    }
};

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
    return !Scopes().empty() && Scopes().back().shape == Qt::WaitCursor;
}

CursorScope::CursorScope(Qt::CursorShape shape) {
    InstallGate();
    Scopes().push_back(Scope{shape, QApplication::activeModalWidget()});
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
