#include "advanced/tool_pages.h"

#include <QLabel>
#include <QVBoxLayout>

#include "advanced/advanced_page.h"

namespace ravelfin {

namespace {
/// Stands in a tool's slot until the tool's page is built.
QWidget* PlaceholderPage(const QString& caption, QWidget* parent) {
    auto* page = new AdvancedPage(parent);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(caption, page), 0, Qt::AlignCenter);
    return page;
}
}  // namespace

QWidget* CreateQuickClonePage(const AdvancedPageContext& /*context*/, QWidget* parent) {
    return PlaceholderPage(QStringLiteral("Quick Clone"), parent);
}

QWidget* CreateManualCommandPage(const AdvancedPageContext& /*context*/, QWidget* parent) {
    return PlaceholderPage(QStringLiteral("Manual Command"), parent);
}

QWidget* CreateBootLoaderPage(const AdvancedPageContext& /*context*/, QWidget* parent) {
    return PlaceholderPage(QStringLiteral("Set Boot Loader Mode"), parent);
}

void PassDeviceChange(QWidget& /*quickClonePage*/) {}

}  // namespace ravelfin
