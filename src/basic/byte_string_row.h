#pragma once

#include <QString>

class QGridLayout;
class QLabel;

namespace ravelfin {

class CharNameList;
class KeySequenceEdit;
class Messenger;

/// One labelled byte-string box with its list of non-printable character names beside it:
/// a pick from the list goes into the box at its caret.
struct ByteStringRow {
    /// Adds the row to `layout` at `row` (label, box, list). The box and the list are named
    /// for assistive tools: the box after the label, the list after the label and
    /// `listCaption` together ("Preamble Non-Printable Characters").
    ByteStringRow(Messenger& messenger, const QString& label, const QString& listCaption,
                  QGridLayout& layout, int row);

    QLabel* Label;
    KeySequenceEdit* Box;
    CharNameList* List;
};

}  // namespace ravelfin
