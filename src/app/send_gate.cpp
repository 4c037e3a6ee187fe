#include "app/send_gate.h"

#include <QPushButton>

namespace ravelfin {

SendGate::SendGate(std::initializer_list<QPushButton*> buttons, QObject* parent) : QObject(parent) {
    for (QPushButton* button : buttons)
        buttons_.push_back({button, button->isEnabled()});
}

void SendGate::SetReaderPresent(bool present) {
    if (present == present_)
        return;
    if (!present)
        Reapply();  // note what the editor wants before switching off
    present_ = present;
    for (Gated& gated : buttons_) {
        if (gated.Button)
            gated.Button->setEnabled(present_ && gated.Wanted);
    }
}

void SendGate::Reapply() {
    for (Gated& gated : buttons_) {
        if (!gated.Button)
            continue;
        // Called right after the editor set its buttons, so their state is what it wants.
        gated.Wanted = gated.Button->isEnabled();
        if (!present_)
            gated.Button->setEnabled(false);
    }
}

}  // namespace ravelfin
