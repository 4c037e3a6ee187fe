#include "controls/alert_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace ravelfin {

namespace {

constexpr char kAlertProperty[] = "ravelfinAlert";

QAccessibleInterface* AlertInterface(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->property(kAlertProperty).toBool())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::AlertMessage);
}

}  // namespace

void AnnounceAlert(QWidget* window) {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(&AlertInterface);
        installed = true;
    }
    window->setProperty(kAlertProperty, true);
    // With a screen reader running, Qt makes and keeps the interface of a widget while it is
    // being constructed, when it is a plain widget yet: that one would call the alert a
    // window. It is dropped, and the next query goes through the factory.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window);
    if (face && face->role() != QAccessible::AlertMessage)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));
    QAccessibleEvent event(window, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

}  // namespace ravelfin
