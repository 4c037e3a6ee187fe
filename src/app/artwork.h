#pragma once

#include <QIcon>
#include <QRectF>

class QPainter;

namespace ravelfin {

/// The program's pictures, drawn rather than loaded. Each fills (and keeps the aspect of)
/// the rectangle it is given.

/// The company mark: a rounded green tile with a card and its magnetic stripe.
void DrawLogo(QPainter& painter, const QRectF& area);
/// A card being swiped through a desktop magnetic-stripe reader with its cable.
void DrawReaderPicture(QPainter& painter, const QRectF& area);
/// A desktop computer: the host the reader is plugged into.
void DrawHostPicture(QPainter& painter, const QRectF& area);

enum class Connector { kPs2, kRs232, kUsb };
/// The plug of one connection kind; `active` draws it in colour, otherwise greyed.
void DrawConnector(QPainter& painter, const QRectF& area, Connector kind, bool active);

/// The window and desktop icon.
QIcon ApplicationIcon();

}  // namespace ravelfin
