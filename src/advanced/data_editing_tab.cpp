#include "advanced/data_editing_tab.h"

#include <QLabel>
#include <QVBoxLayout>

#include "advanced/advanced_page.h"

namespace ravelfin {

QWidget* CreateDataEditingTab(const AdvancedPageContext& /*context*/, QWidget* parent) {
    auto* page = new AdvancedPage(parent);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Data Editing"), page), 0, Qt::AlignCenter);
    return page;
}

void RefreshDataEditingTab(QWidget& /*tab*/) {}

}  // namespace ravelfin
