#pragma once

#include <QList>
#include <QWidget>

namespace ravelfin {

/// Makes Tab visit `widgets` in the given order, which is the order a person reads them in,
/// whatever order they were created in.
inline void ChainTabOrder(const QList<QWidget*>& widgets) {
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

}  // namespace ravelfin
