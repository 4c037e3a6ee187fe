#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>

#include "app/support/gui_test_support.h"
#include "dataedit/ui/field_list.h"

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

/// Picks a line by keyboard: selects it, then Enter, as a double-click would.
inline void Choose(FieldList* list, int row) {
    list->setCurrentRow(row);
    QTest::keyClick(list, Qt::Key_Return);
}

/// Answers the next modal dialog with `action`; a dialog the action left open (a failed
/// check returns early) is closed, so that the test goes on.
inline void OnNextDialog(std::function<void(QWidget*)> action) {
    OnNextModal([action = std::move(action)](QWidget* modal) {
        action(modal);
        if (modal->isVisible())
            modal->close();
    });
}

}  // namespace ravelfin::testing
