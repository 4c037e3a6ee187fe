#include "editor/editor_page.h"

#include <QScopedValueRollback>

#include "connection/connection.h"

namespace ravelfin {

EditorPage::EditorPage(Connection& connection, QWidget* parent)
    : SkinnedPage(parent), connection_(connection) {}

void EditorPage::Refresh() {
    const ReaderSettings* record = ShownRecord();
    if (!record)
        return;
    const QScopedValueRollback loading(loading_, true);
    Load(*record);
}

ReaderSettings* EditorPage::Record() const {
    return loading_ ? nullptr : connection_.Settings.get();
}

const ReaderSettings* EditorPage::ShownRecord() const {
    return connection_.Settings.get();
}

}  // namespace ravelfin
