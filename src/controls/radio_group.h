#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace ravelfin {

/// A titled group of radio buttons of which at most one is chosen, by index. Choosing
/// reports the index whether the user clicked, moved with the arrow keys or used the
/// accessibility toggle action; a choice made by the program through `SetIndex` is not
/// reported. Tab stops once in the group, at the chosen button (else the first one that
/// takes input); the arrow keys move and choose within it.
class RadioGroup final : public QGroupBox {
    Q_OBJECT
  public:
    /// The buttons fill `columns` columns top to bottom.
    RadioGroup(const QString& title, const QStringList& captions, int columns = 1,
               QWidget* parent = nullptr);

    /// Selects button `index`; an index outside the buttons selects none.
    void SetIndex(int index);
    /// The selected button, or -1.
    int Index() const;
    QRadioButton* Button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    int Count() const { return static_cast<int>(buttons_.size()); }

  signals:
    void Chosen(int index);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void UpdateTabStop();

    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
    bool setting_ = false;
};

}  // namespace ravelfin
