#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace ravelfin {

/// The modal window that shows the current-settings report in a read-only scrolling text
/// box above "OK". Nothing in it changes the reader.
class SettingsReportDialog final : public QDialog {
    Q_OBJECT
  public:
    /// `report` is the report text as built (ISO 8859-1 bytes, "\r\n" line ends).
    explicit SettingsReportDialog(const std::string& report, QWidget* parent = nullptr);

    /// The text shown, with plain line ends.
    QString ShownText() const;
    QPlainTextEdit* TextBox() const { return text_; }
    QPushButton* OkButton() const { return ok_; }

  private:
    QPlainTextEdit* text_;
    QPushButton* ok_;
};

/// The report's bytes as display text: ISO 8859-1 characters and "\n" line ends.
QString ReportDisplayText(const std::string& report);

}  // namespace ravelfin
