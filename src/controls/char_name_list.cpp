#include "controls/char_name_list.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "protocol/char_names.h"

namespace ravelfin {

CharNameList::CharNameList(QWidget* parent) : QComboBox(parent) {
    setMaxVisibleItems(16);
    Reset();
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit Picked(CharCodeAt(index)); });
}

void CharNameList::Reset() {
    clear();
    for (int i = 0; i < CharNameCount(); ++i)
        addItem(QString::fromLatin1(CharNameAt(i)));
    setCurrentIndex(-1);
}

void CharNameList::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        event->ignore();  // Ctrl+Tab and Ctrl+PageDown switch the editor's tabs
        return;
    }
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            showPopup();
            event->accept();
            return;
        default:
            break;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
        event->key() != Qt::Key_Space) {
        showPopup();  // typing searches the open list, never the closed one
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CharNameList::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

}  // namespace ravelfin
