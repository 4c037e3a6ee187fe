#include "controls/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace ravelfin {

void PlatformMessageBoxes::Warning(QWidget* owner, const QString& title, const QString& text) {
    QMessageBox::warning(owner, title, text);
}

void PlatformMessageBoxes::Information(QWidget* owner, const QString& text) {
    QMessageBox::information(owner, QApplication::applicationDisplayName(), text);
}

bool PlatformMessageBoxes::AskYesNo(QWidget* owner, const QString& title, const QString& text) {
    return QMessageBox::warning(owner, title, text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace ravelfin
