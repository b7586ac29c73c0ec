#include "app/widgets/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace tulmera::widgets {
namespace {

const QColor kLeafGreen(46, 139, 56);
const QColor kDarkGreen(24, 88, 34);
const QColor kSoilBrown(150, 96, 48);
const QColor kSkyBlue(120, 176, 226);
const QColor kSunYellow(250, 200, 40);
const QColor kCurveRed(200, 40, 30);

// Every drawing is made on a 100 x 100 canvas.
void DrawLeaf(QPainter& p)
{
    QPainterPath blade;
    blade.moveTo(18, 84);
    blade.cubicTo(10, 40, 48, 10, 88, 12);
    blade.cubicTo(90, 52, 60, 90, 18, 84);
    QLinearGradient fill(18, 84, 88, 12);
    fill.setColorAt(0, kDarkGreen);
    fill.setColorAt(1, QColor(110, 190, 70));
    p.setPen(QPen(kDarkGreen, 2));
    p.setBrush(fill);
    p.drawPath(blade);
    p.setPen(QPen(QColor(220, 240, 200), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 90), QPointF(80, 20));  // midrib and petiole
    p.setPen(QPen(QColor(220, 240, 200), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int k = 1; k <= 4; ++k) {
        const QPointF on(14 + 13.0 * k, 90 - 14.0 * k);
        p.drawLine(on, on + QPointF(-4 - k, -14 + k));
        p.drawLine(on, on + QPointF(14 - k, 4 - k));
    }
}

void DrawCanopy(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, 70);
    sky.setColorAt(0, kSkyBlue);
    sky.setColorAt(1, QColor(225, 240, 250));
    p.fillRect(QRectF(0, 0, 100, 72), sky);
    p.fillRect(QRectF(0, 72, 100, 28), kSoilBrown);
    QRadialGradient sun(80, 18, 14);
    sun.setColorAt(0, QColor(255, 240, 150));
    sun.setColorAt(1, kSunYellow);
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(80, 18), 10, 10);
    p.setPen(QPen(kSunYellow, 1.5, Qt::DashLine));
    p.drawLine(QPointF(72, 26), QPointF(40, 60));  // a sunbeam into the canopy
    for (int plant = 0; plant < 5; ++plant) {
        const double x = 10 + 20.0 * plant;
        p.setPen(QPen(kDarkGreen, 2));
        p.drawLine(QPointF(x, 74), QPointF(x, 50));
        p.setPen(Qt::NoPen);
        p.setBrush(plant % 2 == 0 ? kLeafGreen : QColor(80, 165, 70));
        p.drawEllipse(QPointF(x - 5, 56), 6, 3);
        p.drawEllipse(QPointF(x + 5, 50), 6, 3);
        p.drawEllipse(QPointF(x - 4, 46), 5, 2.5);
    }
}

// A green-leaf reflectance shape: low in the visible with a green bump, a red edge, the
// near-infrared plateau and the water bands.
QPainterPath ReflectanceCurve(const QRectF& box)
{
    const auto at = [&](double u, double v) {
        return QPointF(box.left() + u * box.width(), box.bottom() - v * box.height());
    };
    QPainterPath curve(at(0.00, 0.08));
    curve.cubicTo(at(0.04, 0.10), at(0.05, 0.22), at(0.08, 0.14));  // green peak
    curve.cubicTo(at(0.11, 0.06), at(0.13, 0.10), at(0.16, 0.70));  // red edge
    curve.cubicTo(at(0.25, 0.80), at(0.38, 0.78), at(0.45, 0.55));  // plateau, 1450 nm
    curve.cubicTo(at(0.52, 0.42), at(0.56, 0.62), at(0.62, 0.58));
    curve.cubicTo(at(0.68, 0.54), at(0.70, 0.22), at(0.75, 0.30));  // 1950 nm
    curve.cubicTo(at(0.82, 0.40), at(0.90, 0.36), at(1.00, 0.20));
    return curve;
}

void DrawSpectrum(QPainter& p)
{
    p.setPen(QPen(QColor(120, 120, 120), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 10, 84, 80));
    p.setPen(QPen(QColor(200, 200, 200), 0.8, Qt::DashLine));
    for (int k = 1; k < 5; ++k) p.drawLine(QPointF(8, 10 + 16.0 * k), QPointF(92, 10 + 16.0 * k));
    p.setPen(QPen(QColor(0, 170, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ReflectanceCurve(QRectF(12, 14, 76, 72)));
}

void DrawEntry(QPainter& p)
{
    p.setPen(QPen(kDarkGreen, 3));
    p.setBrush(QColor(235, 245, 230));
    p.drawRoundedRect(QRectF(40, 8, 50, 84), 6, 6);  // the door
    QPainterPath arrow;
    arrow.moveTo(8, 42);
    arrow.lineTo(46, 42);
    arrow.lineTo(46, 28);
    arrow.lineTo(72, 50);
    arrow.lineTo(46, 72);
    arrow.lineTo(46, 58);
    arrow.lineTo(8, 58);
    arrow.closeSubpath();
    p.setPen(QPen(kDarkGreen, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(kLeafGreen);
    p.drawPath(arrow);
}

void DrawIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 245));
    p.drawRoundedRect(QRectF(4, 4, 92, 92), 18, 18);
    p.save();
    p.translate(6, 4);
    p.scale(0.86, 0.86);
    DrawLeaf(p);
    p.restore();
    p.setPen(QPen(kCurveRed, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ReflectanceCurve(QRectF(12, 30, 78, 56)));
}

void DrawRun(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 3; ++k) {
        p.setPen(QPen(QColor(0, 80 + 60 * k, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(ReflectanceCurve(QRectF(6, 20 + 8 * k, 60, 60 - 8 * k)));
    }
    QPainterPath play;
    play.moveTo(62, 30);
    play.lineTo(96, 52);
    play.lineTo(62, 74);
    play.closeSubpath();
    p.setPen(QPen(kDarkGreen, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kLeafGreen);
    p.drawPath(play);
}

void DrawSheet(QPainter& p)
{
    p.setPen(QPen(QColor(60, 110, 60), 4));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(10, 14, 80, 72));
    p.fillRect(QRectF(12, 16, 76, 16), QColor(200, 230, 200));
    p.setPen(QPen(QColor(60, 110, 60), 3));
    for (int row = 1; row < 4; ++row)
        p.drawLine(QPointF(10, 14 + 18.0 * row), QPointF(90, 14 + 18.0 * row));
    p.drawLine(QPointF(37, 14), QPointF(37, 86));
    p.drawLine(QPointF(63, 14), QPointF(63, 86));
}

void DrawLeave(QPainter& p)
{
    p.setPen(QPen(QColor(90, 70, 50), 4));
    p.setBrush(QColor(240, 235, 225));
    p.drawRect(QRectF(14, 8, 52, 84));  // the door frame
    QPainterPath leaf;                  // the opened door
    leaf.moveTo(14, 8);
    leaf.lineTo(40, 18);
    leaf.lineTo(40, 100);
    leaf.lineTo(14, 92);
    leaf.closeSubpath();
    p.setBrush(QColor(170, 120, 70));
    p.drawPath(leaf);
    p.setPen(QPen(kCurveRed, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(54, 50), QPointF(92, 50));
    p.drawLine(QPointF(92, 50), QPointF(78, 36));
    p.drawLine(QPointF(92, 50), QPointF(78, 64));
}

}  // namespace

void DrawPicture(QPainter& painter, Picture picture, const QRectF& bounds)
{
    const double side = std::min(bounds.width(), bounds.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(bounds.center().x() - side / 2, bounds.center().y() - side / 2);
    painter.scale(side / 100.0, side / 100.0);
    switch (picture) {
        case Picture::Leaf:
            DrawLeaf(painter);
            break;
        case Picture::Canopy:
            DrawCanopy(painter);
            break;
        case Picture::Spectrum:
            DrawSpectrum(painter);
            break;
        case Picture::Entry:
            DrawEntry(painter);
            break;
        case Picture::Icon:
            DrawIcon(painter);
            break;
        case Picture::Run:
            DrawRun(painter);
            break;
        case Picture::Sheet:
            DrawSheet(painter);
            break;
        case Picture::Leave:
            DrawLeave(painter);
            break;
    }
    painter.restore();
}

QPixmap PicturePixmap(Picture picture, int size, double devicePixelRatio)
{
    const int pixels = static_cast<int>(std::ceil(size * devicePixelRatio));
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pixmap);
    DrawPicture(painter, picture, QRectF(0, 0, size, size));
    return pixmap;
}

}  // namespace tulmera::widgets
