#include "advanced/tool_pages.h"

#include "advanced/boot_loader_page.h"
#include "advanced/manual_command_page.h"
#include "advanced/quick_clone_page.h"

namespace ravelfin {

QWidget* CreateQuickClonePage(const AdvancedPageContext& context, QWidget* parent) {
    return new QuickClonePage(context.Services.Link.Environment(), context.Services.Messages,
                              parent);
}

QWidget* CreateManualCommandPage(const AdvancedPageContext& context, QWidget* parent) {
    return new ManualCommandPage(context.Services.Link, context.Services.Messages,
                                 context.RefreshEditors, parent);
}

QWidget* CreateBootLoaderPage(const AdvancedPageContext& context, QWidget* parent) {
    return new BootLoaderPage(context.Services.Link, context.Services.Messages, parent);
}

}  // namespace ravelfin
