#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace ravelfin::testing {

/// The control under `root` whose accessible name is `text`, as a screen reader finds it;
/// fails the test when there is none.
template <class T = QAbstractButton>
T* Named(QWidget* root, const QString& text) {
    for (T* w : root->findChildren<T*>()) {
        if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name) == text)
            return w;
    }
    QTest::qFail(qPrintable("no control named " + text), __FILE__, __LINE__);
    return nullptr;
}

/// The lines a list shows, top to bottom.
inline QStringList Lines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

}  // namespace ravelfin::testing
