#include "app/reader_lost_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace ravelfin {

bool RunReaderLostBox(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Orvane Ravelfin"), text,
                    QMessageBox::NoButton, owner);
    QPushButton* select =
        box.addButton(QString::fromLatin1(kSelectReaderButton), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Close);
    box.setDefaultButton(select);
    box.exec();
    return box.clickedButton() == select;
}

}  // namespace ravelfin
