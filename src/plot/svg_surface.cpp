#include "plot/svg_surface.h"

#include <QBuffer>
#include <QByteArray>
#include <QPainter>
#include <QPen>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <string>

#include "textio/error.h"
#include "textio/text_file.h"

namespace tulmera::plot {
namespace {

constexpr double kDashOn = 4.0;  // units of a 1-pixel dashed pen, as the raster draws them
constexpr double kDashOff = 2.0;

// Qt SVG gives the size in millimetres; the chart's size is its pixels, as the viewBox says.
void SizeInPixels(std::string& svg, const QSize& size)
{
    const std::size_t start = svg.find("<svg width=\"");
    const std::size_t end = svg.find("viewBox=", start);
    if (start == std::string::npos || end == std::string::npos) return;
    svg.replace(start, end - start,
                "<svg width=\"" + std::to_string(size.width()) + "\" height=\""
                    + std::to_string(size.height()) + "\"\n ");
}

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

QColor ToQColor(Rgb color) { return QColor(color.r, color.g, color.b); }

}  // namespace

SvgSurface::SvgSurface(const ChartScale& scale) : scale_(scale) {}

void SvgSurface::Clear()
{
    shapes_.clear();
    pathOpen_ = false;
}

void SvgSurface::SetPenColor(Rgb color) { pen_.color = color; }

void SvgSurface::SetPenWidth(int pixels) { pen_.width = std::clamp(pixels, 1, kMaxPenWidth); }

void SvgSurface::SetPenStyle(PenStyle style) { pen_.style = style; }

QPointF SvgSurface::At(double x, double y) const
{
    const double X = (x - scale_.left) * (scale_.widthPx - 1) / (scale_.right - scale_.left);
    const double Y = (scale_.top - y) * (scale_.heightPx - 1) / (scale_.top - scale_.bottom);
    return {X + 0.5, Y + 0.5};
}

QRectF SvgSurface::Square(QPointF centre, double side) const
{
    return {centre.x() - side / 2, centre.y() - side / 2, side, side};
}

void SvgSurface::AddFill(const QRectF& rect, Rgb color)
{
    pathOpen_ = false;
    if (!rect.intersects(QRectF(0, 0, scale_.widthPx, scale_.heightPx))) return;
    Shape shape;
    shape.fill = rect;
    shape.fillColor = ToQColor(color);
    shapes_.push_back(shape);
}

void SvgSurface::AddSegment(double x1, double y1, double x2, double y2)
{
    if (!Finite(x1, y1) || !Finite(x2, y2)) return;
    const QPointF from = At(x1, y1), to = At(x2, y2);
    // A 1-pixel pen's style is what the raster draws; wider pens are solid whatever it says.
    Pen pen = pen_;
    if (pen.width > 1) pen.style = PenStyle::Solid;
    if (!pathOpen_ || !(shapes_.back().pen == pen)) {
        Shape shape;
        shape.stroked = true;
        shape.pen = pen;
        shapes_.push_back(shape);
        pathOpen_ = true;
    }
    QPainterPath& path = shapes_.back().path;
    if (path.elementCount() == 0 || path.currentPosition() != from) path.moveTo(from);
    path.lineTo(to);
}

void SvgSurface::PlotPoint(double x, double y)
{
    penX_ = x;
    penY_ = y;
    if (!Finite(x, y)) return;
    AddFill(Square(At(x, y), pen_.width), pen_.color);
}

void SvgSurface::LineTo(double x, double y)
{
    AddSegment(penX_, penY_, x, y);
    penX_ = x;
    penY_ = y;
}

void SvgSurface::Line(double x1, double y1, double x2, double y2)
{
    // A new subpath even where the last segment ended, so that its dashes start again.
    if (pathOpen_ && Finite(x1, y1)) shapes_.back().path.moveTo(At(x1, y1));
    AddSegment(x1, y1, x2, y2);
    penX_ = x2;
    penY_ = y2;
}

void SvgSurface::FilledBox(double x1, double y1, double x2, double y2, Rgb color)
{
    if (!Finite(x1, y1) || !Finite(x2, y2)) return;
    // From the pixel square of one corner to that of the other.
    const QPointF a = At(x1, y1), b = At(x2, y2);
    AddFill(QRectF(QPointF(std::min(a.x(), b.x()) - 0.5, std::min(a.y(), b.y()) - 0.5),
                   QPointF(std::max(a.x(), b.x()) + 0.5, std::max(a.y(), b.y()) + 0.5)),
            color);
}

std::string SvgSurface::Bytes(const std::string& path, const std::string& title,
                              const std::function<void(QPainter&)>& over) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QRect interior(0, 0, scale_.widthPx, scale_.heightPx);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(interior.size());
    generator.setViewBox(interior);
    generator.setResolution(96);  // the charts' pixels are CSS pixels
    generator.setTitle(QString::fromStdString(title));
    generator.setDescription(QStringLiteral("Tulmera"));
    QPainter painter;
    if (!painter.begin(&generator)) {
        throw Error("Cannot draw the chart image for \"" + path + "\" as SVG.");
    }
    painter.fillRect(interior, Qt::white);
    painter.setClipRect(interior);  // the viewBox clips as well, where Qt SVG writes no clip
    for (const Shape& shape : shapes_) {
        if (!shape.stroked) {
            painter.fillRect(shape.fill, shape.fillColor);
            continue;
        }
        QPen pen(ToQColor(shape.pen.color), shape.pen.width, Qt::SolidLine, Qt::SquareCap,
                 Qt::BevelJoin);
        if (shape.pen.style == PenStyle::Dashed) {
            pen.setDashPattern({kDashOn, kDashOff});
            pen.setCapStyle(Qt::FlatCap);
        }
        painter.strokePath(shape.path, pen);
    }
    if (over) over(painter);
    if (!painter.end() || bytes.isEmpty()) {
        throw Error("Cannot draw the chart image for \"" + path + "\" as SVG.");
    }
    std::string svg(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    SizeInPixels(svg, interior.size());
    return svg;
}

void SaveSvg(const SvgSurface& surface, const std::string& path)
{
    textio::ReplaceTextFile(path, surface.Bytes(path));
}

}  // namespace tulmera::plot
