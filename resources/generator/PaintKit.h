#ifndef PAINTKIT_H
#define PAINTKIT_H

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <initializer_list>

class QPainter;

// Colours and drawing steps shared by the painted pictures.
namespace PaintKit {

// Side of the square action icons; Qt scales them down to the tool-bar sizes.
inline constexpr int IconSide = 64;

namespace Colour {
inline const QColor Blue{0x2f, 0x6f, 0xd6};
inline const QColor DeepBlue{0x1b, 0x3f, 0x8a};
inline const QColor Green{0x2e, 0xa4, 0x4f};
inline const QColor Red{0xd7, 0x3a, 0x3a};
inline const QColor Orange{0xf0, 0x8c, 0x1a};
inline const QColor Yellow{0xf6, 0xc3, 0x3b};
inline const QColor Steel{0x5a, 0x62, 0x70};
inline const QColor Silver{0xc9, 0xce, 0xd6};
inline const QColor Paper{0xfb, 0xfc, 0xfe};
inline const QColor Outline{0x3a, 0x40, 0x4a};
} // namespace Colour

// A transparent canvas of the given size.
QImage canvas(int width, int height);
// A transparent square icon canvas.
QImage iconCanvas();
// Antialiasing and smooth scaling for everything painted after.
void prepare(QPainter &painter);

// Vertical gradient brush from a lighter to a darker shade of colour over rect.
QBrush shadedBrush(const QColor &colour, const QRectF &rect);
// Round, shaded button face with a darker rim.
void roundBadge(QPainter &painter, const QRectF &rect, const QColor &colour);
// Small round status mark in the lower right corner of an icon:
// a green tick when ok is true, a red cross otherwise.
void statusMark(QPainter &painter, bool ok);
// A sheet of paper with a folded upper right corner.
void paperSheet(QPainter &painter, const QRectF &rect);
// A gear wheel with the given number of teeth, centred in rect.
QPainterPath gear(const QRectF &rect, int teeth);
// Polygon path through the given points.
QPainterPath polygon(std::initializer_list<QPointF> points);

} // namespace PaintKit

#endif // PAINTKIT_H
