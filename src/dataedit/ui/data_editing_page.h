#pragma once

#include <array>
#include <functional>

#include "controls/skinned_page.h"
#include "dataedit/data_edit_settings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ravelfin {

class Messenger;
class RadioGroup;

/// Where a page finds the record it edits, asked at each use: a reopened reader brings a
/// new one, and there may be none for a moment.
using DataEditSource = std::function<DataEditSettings*()>;

/// The "Data Editing" tab of the advanced settings editor: switches data editing on and
/// off, chooses the output method, lists the formulas of every card type and opens their
/// editors and the New Field dialog. It edits the record in place, with no undo.
class DataEditingPage final : public SkinnedPage {
    Q_OBJECT
  public:
    /// `firmwareVersion` is the connected reader's version number: from 3.32 on the second
    /// formula slot is the "Custom2" card rather than DMV.
    DataEditingPage(DataEditSource record, double firmwareVersion, Messenger& messenger,
                    QWidget* parent = nullptr);

    /// Reloads every control from the record: radios from `mode`, card type Credit Card,
    /// tracks 1 and 2 selected, the formula list rebuilt. Changes nothing in the record.
    void Refresh();
    /// The firmware version number of the reader now connected; shown at the next `Refresh`.
    void SetFirmwareVersion(double firmwareVersion) { firmwareVersion_ = firmwareVersion; }

    QListWidget* FormulaList() const { return formulaList_; }
    /// The formula slot of the "Data Format" radio that is selected.
    std::size_t CardType() const;
    std::array<bool, 3> TrackSelected() const;

  private:
    void ShowMode();
    void SetMode(bool enabled, bool unmatched);
    QRadioButton* CardTypeButton(std::size_t slot) const;
    void UpdateDependents();
    void UpdateTrackBoxes();
    void FillFormulaList();
    int SelectedFormulaSlot() const;
    void OpenEditor(std::size_t slot);
    void OpenNewField();

    DataEditSource record_;
    double firmwareVersion_;
    Messenger& messenger_;

    RadioGroup* dataEdit_;     // Enable, Disable
    RadioGroup* outputGroup_;  // Matched, Unmatched
    RadioGroup* formatGroup_;  // the card types, in the order of kCardTypeOrder
    QGroupBox* trackGroup_;
    std::array<QCheckBox*, 3> tracks_{};
    QLabel* formulaLabel_;
    QListWidget* formulaList_;
    QList<QWidget*> dependents_;
};

}  // namespace ravelfin
