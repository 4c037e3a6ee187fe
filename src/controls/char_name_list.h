#pragma once

#include <QComboBox>
#include <cstdint>

namespace ravelfin {

/// The drop-down list of the 111 names of non-printable characters beside a byte-string box.
/// Picking a name reports its byte. Keys that would step through the closed list open it
/// instead, so that a keyboard user looks for a name without inserting every byte passed.
class CharNameList final : public QComboBox {
    Q_OBJECT
  public:
    explicit CharNameList(QWidget* parent = nullptr);

    /// Fills the list in table order with no name selected.
    void Reset();

  signals:
    void Picked(std::uint8_t code);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace ravelfin
