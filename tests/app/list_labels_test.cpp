#include <QAccessible>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "app/support/gui_test_support.h"
#include "controls/char_name_list.h"
#include "dataedit/ui/customized_fields_dialog.h"
#include "dataedit/ui/new_field_dialog.h"
#include "protocol/reader_settings.h"

using namespace ravelfin;
using namespace ravelfin::testing;

namespace {
// On Linux a screen reader names a list by the label it is "labelled by", not by its
// accessibleName (its name there is the line shown), so each list needs its label's buddy.
QString LabelledBy(QComboBox* list) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(list);
    for (const auto& [other, relation] : face->relations(QAccessible::Label)) {
        if (qobject_cast<QLabel*>(other->object()))
            return other->text(QAccessible::Name);
    }
    return {};
}
}  // namespace

class ListLabelsTest : public QObject {
    Q_OBJECT

  private slots:
    void theDataEditingDialogsListsAreReadOutByTheirLabels() {
        ReaderSettings settings;
        RecordingMessenger messages;
        NewFieldDialog newField(settings, nullptr, messages, nullptr);
        QCOMPARE(LabelledBy(newField.CharacterList()), QStringLiteral("Non-Printable Char"));
        CustomizedFieldsDialog customized(settings, Bytes{}, false, messages, nullptr);
        QCOMPARE(LabelledBy(customized.TrackChoice()), QStringLiteral("Track No."));
        QCOMPARE(LabelledBy(customized.NewFieldNumber()), QStringLiteral("New Field No."));
    }
};

RAVELFIN_GUI_TEST(ListLabelsTest);
#include "list_labels_test.moc"
