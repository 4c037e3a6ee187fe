#pragma once

#include <vector>

#include "basic/basic_page.h"
#include "basic/byte_string_row.h"
#include "protocol/bytes.h"

namespace ravelfin {

class EditableGrid;

/// "Pre/Postamble": the start and end sentinels of the three tracks in a grid, the prefix
/// and suffix of each track, and the preamble and postamble.
class PrePostamblePage final : public BasicPage {
    Q_OBJECT
  public:
    /// The byte-string boxes, top to bottom.
    enum Box {
        kTrack1Prefix,
        kTrack1Suffix,
        kTrack2Prefix,
        kTrack2Suffix,
        kTrack3Prefix,
        kTrack3Suffix,
        kPreamble,
        kPostamble,
        kBoxCount
    };

    PrePostamblePage(Connection& connection, Messenger& messenger, QWidget* parent = nullptr);

    void Load(const ReaderSettings& shown) override;

    EditableGrid* Sentinels() const { return grid_; }
    const ByteStringRow& Row(Box box) const { return rows_.at(box); }

  protected:
    void RestorePageDefaults(ReaderSettings& record) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FillGrid();
    void SizeColumns();
    void OnSentinelEdited(int row, int column, bool hasValue, const QString& text);
    /// Security levels 3 and 4 keep the track framing as it is; preamble and postamble stay.
    void ApplySecurityLock();

    EditableGrid* grid_;
    std::vector<ByteStringRow> rows_;
};

}  // namespace ravelfin
