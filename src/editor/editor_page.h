#pragma once

#include "controls/skinned_page.h"

namespace ravelfin {

class Connection;
class ReaderSettings;

/// A settings page of either editor. It edits the connection's record in place, reaching it
/// through the connection at each use, so that no page holds on to a record that a reconnect
/// has replaced. Showing the record never changes it: while `Refresh` loads the controls,
/// `Record` gives no record to store into, whatever signals the controls send.
class EditorPage : public SkinnedPage {
    Q_OBJECT
  public:
    EditorPage(Connection& connection, QWidget* parent);

    /// Loads every control from the record and applies the enabling rules that follow it;
    /// nothing when there is no record.
    void Refresh();

  protected:
    /// Shows `record` in the controls.
    virtual void Load(const ReaderSettings& record) = 0;
    /// The record to store an edit into; null while there is none and while the page loads.
    ReaderSettings* Record() const;
    /// The record as it is now, to read from; null while there is none.
    const ReaderSettings* ShownRecord() const;
    Connection& Link() const { return connection_; }

  private:
    Connection& connection_;
    bool loading_ = false;
};

}  // namespace ravelfin
