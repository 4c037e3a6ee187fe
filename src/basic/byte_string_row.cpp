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
    // Every row has such a list: its name says whose it is ("Track 1 Prefix Non-Printable
    // Characters"), so that a screen reader tells them apart.
    QString owner = label;
    if (owner.endsWith(QLatin1Char(':')))
        owner.chop(1);
    const QString listName = owner + QLatin1Char(' ') + listCaption;
    List->setAccessibleName(listName);
    layout.addWidget(Label, row, 0);
    layout.addWidget(Box, row, 1);
    layout.addWidget(List, row, 2);
    // On Linux a screen reader names a drop-down list by the label it is the buddy of, not by
    // its accessible name; the caption stands once above all the lists, so each list gets a
    // label of its own that is never shown.
    auto* listLabel = new QLabel(listName);
    listLabel->setBuddy(List);
    layout.addWidget(listLabel, row, 2);
    listLabel->hide();
    KeySequenceEdit* box = Box;
    QObject::connect(List, &CharNameList::Picked, box,
                     [box](std::uint8_t code) { box->InsertCode(code); });
}

}  // namespace ravelfin
