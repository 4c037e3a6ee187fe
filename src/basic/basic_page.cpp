#include "basic/basic_page.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "connection/connection.h"
#include "controls/help_topics.h"
#include "controls/help_window.h"

namespace ravelfin {

BasicPage::BasicPage(Connection& connection, Messenger& messenger, int helpContext, bool helpOwned,
                     QWidget* parent)
    : EditorPage(connection, parent),
      messenger_(messenger),
      defaultPage_(new QPushButton(QStringLiteral("Default Page"))),
      help_(new QPushButton(QStringLiteral("Help"))) {
    connect(defaultPage_, &QPushButton::clicked, this, [this] {
        if (ReaderSettings* record = Record()) {
            RestorePageDefaults(*record);
            Refresh();
        }
    });
    connect(help_, &QPushButton::clicked, this, [this, helpContext, helpOwned] {
        ShowHelp(helpOwned ? this : nullptr, kHelpFileName, kHelpContextCommand, helpContext);
    });
}

QLayout* BasicPage::TakeButtonRow() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(defaultPage_);
    row->addWidget(help_);
    return row;
}

}  // namespace ravelfin
