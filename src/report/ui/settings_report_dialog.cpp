#include "report/ui/settings_report_dialog.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QVBoxLayout>

#include "controls/message_dialog.h"
#include "controls/skinned_dialog.h"

namespace ravelfin {

QString ReportDisplayText(const std::string& report) {
    QString text = QString::fromLatin1(report.data(), static_cast<qsizetype>(report.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

bool SaveReportText(const QString& text, const QString& path, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(text.toUtf8()) < 0 ||
        !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

SettingsReportDialog::SettingsReportDialog(const std::string& report, QWidget* parent)
    : QDialog(parent),
      text_(new QPlainTextEdit),
      copy_(new QPushButton(QStringLiteral("&Copy"))),
      save_(new QPushButton(QStringLiteral("Save &As..."))),
      ok_(new QPushButton(QStringLiteral("OK"))),
      chooseFile_([](QWidget* owner) {
          return QFileDialog::getSaveFileName(
              owner, QStringLiteral("Save the report"),
              QDir::home().filePath(QStringLiteral("ravelfin-settings.txt")),
              QStringLiteral("Text files (*.txt);;All files (*)"));
      }) {
    setWindowTitle(QStringLiteral("Check Current Reader Settings"));
    QSize size(600, 490);
    if (const QScreen* screen = parent ? parent->screen() : this->screen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    resize(size);

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(std::max(9.5, fixed.pointSizeF()));
    text_->setFont(fixed);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setTabStopDistance(4 * text_->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    text_->setPlainText(ReportDisplayText(report));
    // The box has no caption of its own; the window's tells what it holds.
    text_->setAccessibleName(QStringLiteral("Current Reader Settings"));

    for (QPushButton* button : {copy_, save_, ok_}) {
        button->setAutoDefault(false);
        button->setMinimumSize(96, 28);
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    }
    ok_->setDefault(true);
    connect(copy_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(ShownText()); });
    connect(save_, &QPushButton::clicked, this, &SettingsReportDialog::SaveAs);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = CenteredButtonRow({copy_, save_, ok_});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    ok_->setFocus();
}

QString SettingsReportDialog::ShownText() const {
    return text_->toPlainText();
}

void SettingsReportDialog::SaveAs() {
    const QString path = chooseFile_(this);
    if (path.isEmpty())
        return;
    QString text = ShownText();
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    QString error;
    if (!SaveReportText(text, path, error)) {
        RunMessageDialog(this, QStringLiteral("Could not save the report to %1: %2")
                                   .arg(QDir::toNativeSeparators(path), error));
    }
}

}  // namespace ravelfin
