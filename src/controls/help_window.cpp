#include "controls/help_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>

#include "controls/data_files.h"
#include "controls/help_topics.h"

namespace ravelfin {

namespace {

QPointer<HelpWindow>& OpenWindow() {
    static QPointer<HelpWindow> window;
    return window;
}

}  // namespace

HelpWindow::HelpWindow(const QDir& folder, QWidget* owner)
    : QWidget(owner, Qt::Window),
      folder_(folder),
      contents_(new QListWidget),
      browser_(new QTextBrowser) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Orvane Ravelfin Configuration Utility Help"));
    QSize size(860, 600);
    if (const QScreen* screen = owner ? owner->screen() : this->screen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    resize(size);

    for (const HelpTopic& topic : HelpTopics()) {
        auto* entry = new QListWidgetItem(topic.title, contents_);
        entry->setData(Qt::UserRole, topic.file);
    }
    // Neither pane has a caption to be named after: the names a help viewer's panes go by.
    contents_->setAccessibleName(QStringLiteral("Contents"));
    browser_->setAccessibleName(QStringLiteral("Help Page"));
    contents_->setMinimumWidth(230);
    contents_->setSpacing(3);
    contents_->setStyleSheet(QStringLiteral(
        "QListWidget { background: #cce6d6; border: none; padding: 6px; font-size: 10pt; }"
        "QListWidget::item:selected { background: #56b98c; color: white; }"));
    browser_->document()->setDocumentMargin(14);
    browser_->setSearchPaths({folder_.absolutePath()});
    browser_->setOpenExternalLinks(true);
    connect(contents_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* entry) { ShowPage(entry->data(Qt::UserRole).toString()); });
    connect(contents_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* entry) { ShowPage(entry->data(Qt::UserRole).toString()); });

    auto* splitter = new QSplitter;
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    // Reaches the window from the contents and the page, which use neither key.
    if (event->key() == Qt::Key_Escape || event->keyCombination() == (Qt::CTRL | Qt::Key_W)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool HelpWindow::ShowPage(const QString& file) {
    if (!QFileInfo::exists(folder_.filePath(file)))
        return false;
    browser_->setSource(QUrl::fromLocalFile(folder_.absoluteFilePath(file)));
    for (int row = 0; row < contents_->count(); ++row) {
        if (contents_->item(row)->data(Qt::UserRole).toString() == file) {
            contents_->setCurrentRow(row);
        }
    }
    return true;
}

QString HelpWindow::CurrentPage() const {
    return QFileInfo(browser_->source().toLocalFile()).fileName();
}

QString HelpWindow::PageTitle() const {
    return browser_->documentTitle();
}

int ShowHelp(QWidget* owner, const std::string& /*helpFile*/, int command, int context) {
    if (command != kHelpContextCommand)
        return 0;
    const QString page = HelpFileForContext(context);
    const QString folder = FindDataFile(QStringLiteral("help"));
    if (page.isEmpty() || folder.isEmpty())
        return 0;

    QWidget* parent = owner ? owner->window() : nullptr;
    QPointer<HelpWindow>& window = OpenWindow();
    if (window && window->parentWidget() != parent) {
        window->close();  // deletes itself; the new owner gets a window of its own
        window = nullptr;
    }
    if (!window) {
        window = new HelpWindow(QDir(folder), parent);
        if (parent)  // over the middle of the window it helps with
            window->move(parent->frameGeometry().center() - window->rect().center());
    }
    if (!window->ShowPage(page))
        return 0;
    window->show();
    window->raise();
    window->activateWindow();
    return 1;
}

HelpWindow* CurrentHelpWindow() {
    return OpenWindow();
}

}  // namespace ravelfin
