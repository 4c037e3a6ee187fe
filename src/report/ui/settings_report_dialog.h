#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace ravelfin {

/// The modal window that shows the current-settings report in a read-only scrolling text
/// box above "Copy", "Save As..." and "OK". Copy puts the whole report on the clipboard;
/// Save As writes it to a plain text file the user chooses. Nothing in it changes the
/// reader.
class SettingsReportDialog final : public QDialog {
    Q_OBJECT
  public:
    /// Asks where to save the report; an empty path when the user cancels.
    using SaveChooser = std::function<QString(QWidget* parent)>;

    /// `report` is the report text as built (ISO 8859-1 bytes, "\r\n" line ends).
    explicit SettingsReportDialog(const std::string& report, QWidget* parent = nullptr);

    /// The text shown, with plain line ends.
    QString ShownText() const;
    /// Replaces the platform's file dialog of "Save As...".
    void SetSaveChooser(SaveChooser chooser) { chooseFile_ = std::move(chooser); }

    QPlainTextEdit* TextBox() const { return text_; }
    QPushButton* CopyButton() const { return copy_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* OkButton() const { return ok_; }

  private:
    void SaveAs();

    QPlainTextEdit* text_;
    QPushButton* copy_;
    QPushButton* save_;
    QPushButton* ok_;
    SaveChooser chooseFile_;
};

/// The report's bytes as display text: ISO 8859-1 characters and "\n" line ends.
QString ReportDisplayText(const std::string& report);

/// Writes `text` to the file at `path` as UTF-8, replacing it only once it is written
/// whole. False with a one-line `error` when that fails; the old file then stays.
bool SaveReportText(const QString& text, const QString& path, QString& error);

}  // namespace ravelfin
