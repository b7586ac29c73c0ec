#include "plot/figure_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QString>

namespace tulmera::plot {
namespace {

// Fonts take whole pixel sizes: measured this many times larger, a text's width is exact to
// a small fraction of a pixel at any figure size.
constexpr double kMeasureScale = 16.0;

QString FromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

QFont FigureFont(double size, bool bold)
{
    QFont font(QStringLiteral("Arial"));  // a slide program's usual face; else any sans serif
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    font.setBold(bold);
    return font;
}

double FigureTextWidth(std::string_view utf8, double size)
{
    const QFontMetricsF metrics(FigureFont(size * kMeasureScale, false));
    return metrics.horizontalAdvance(FromUtf8(utf8)) / kMeasureScale;
}

void DrawFigureText(QPainter& painter, double x, double y, std::string_view utf8,
                    const TextStyle& style, double pixelScale)
{
    if (utf8.empty()) return;
    const QString text = FromUtf8(utf8);
    const QFont font = FigureFont(style.size * pixelScale, style.bold);
    const QFontMetricsF metrics(font);
    const double advance = metrics.horizontalAdvance(text);
    double dx = 0.0;
    if (style.anchor == TextAnchor::Middle) dx = -advance / 2;
    if (style.anchor == TextAnchor::End) dx = -advance;
    const double dy = style.centred ? metrics.capHeight() / 2 : 0.0;
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(style.color.r, style.color.g, style.color.b));
    painter.translate(x * pixelScale, y * pixelScale);
    if (style.vertical) painter.rotate(-90.0);
    painter.drawText(QPointF(dx, dy), text);
    painter.restore();
}

}  // namespace tulmera::plot
