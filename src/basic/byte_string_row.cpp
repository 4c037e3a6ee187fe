#include "basic/byte_string_row.h"

#include <QGridLayout>
#include <QLabel>

#include "controls/char_name_list.h"
#include "controls/key_sequence_edit.h"

namespace ravelfin {

ByteStringRow::ByteStringRow(Messenger& messenger, const QString& label, const QString& listCaption,
                             QGridLayout& layout, int row)
    : Label(new QLabel(label)), Box(new KeySequenceEdit(messenger)), List(new CharNameList) {
    Label->setBuddy(Box);
    Box->setAccessibleName(label);
    List->setAccessibleName(listCaption);
    List->setAccessibleDescription(label);
    layout.addWidget(Label, row, 0);
    layout.addWidget(Box, row, 1);
    layout.addWidget(List, row, 2);
    // On Linux a screen reader names a drop-down list by the label it is the buddy of, not by
    // its accessible name; the caption stands once above all the lists, so each list gets a
    // label of its own that is never shown.
    auto* listLabel = new QLabel(listCaption);
    listLabel->setBuddy(List);
    layout.addWidget(listLabel, row, 2);
    listLabel->hide();
    KeySequenceEdit* box = Box;
    QObject::connect(List, &CharNameList::Picked, box,
                     [box](std::uint8_t code) { box->InsertCode(code); });
}

}  // namespace ravelfin
