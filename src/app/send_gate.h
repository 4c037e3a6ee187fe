#pragma once

#include <QObject>
#include <QPointer>
#include <initializer_list>
#include <vector>

class QPushButton;

namespace ravelfin {

/// Keeps the buttons of an editor that write to the reader switched off while the reader it
/// edits is not attached, and gives them back the state the editor wants once it returns.
/// The editor goes on switching its buttons as it always does; `Reapply` after each of its
/// own changes keeps them off meanwhile.
class SendGate final : public QObject {
    Q_OBJECT
  public:
    SendGate(std::initializer_list<QPushButton*> buttons, QObject* parent);

    void SetReaderPresent(bool present);
    bool ReaderPresent() const { return present_; }
    /// The editor has just switched its buttons: notes what it wants and, while the reader
    /// is away, switches them off again.
    void Reapply();

  private:
    struct Gated {
        QPointer<QPushButton> Button;
        bool Wanted = true;  // what the editor last set
    };
    std::vector<Gated> buttons_;
    bool present_ = true;
};

}  // namespace ravelfin
