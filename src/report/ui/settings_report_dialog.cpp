#include "report/ui/settings_report_dialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/skinned_dialog.h"

namespace ravelfin {

QString ReportDisplayText(const std::string& report) {
    QString text = QString::fromLatin1(report.data(), static_cast<qsizetype>(report.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

SettingsReportDialog::SettingsReportDialog(const std::string& report, QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit), ok_(new QPushButton(QStringLiteral("OK"))) {
    setWindowTitle(QStringLiteral("Check Current Reader Settings"));
    resize(600, 490);

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(std::max(9.5, fixed.pointSizeF()));
    text_->setFont(fixed);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setTabStopDistance(4 * text_->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    text_->setPlainText(ReportDisplayText(report));

    ok_->setDefault(true);
    ok_->setMinimumSize(96, 28);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = CenteredButtonRow({ok_});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    ok_->setFocus();
}

QString SettingsReportDialog::ShownText() const {
    return text_->toPlainText();
}

}  // namespace ravelfin
