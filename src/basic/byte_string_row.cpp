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
    KeySequenceEdit* box = Box;
    QObject::connect(List, &CharNameList::Picked, box,
                     [box](std::uint8_t code) { box->InsertCode(code); });
}

}  // namespace ravelfin
