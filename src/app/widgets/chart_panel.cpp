#include "app/widgets/chart_panel.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cmath>

namespace tulmera::widgets {
namespace {

constexpr int kLabelGap = 4;   // between a label and the chart frame
constexpr int kLegendGap = 6;  // between the legend and the chart
constexpr int kSwatchLength = 28;

QFont AxisFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    return font;
}

// The band names at the top of their stripes, dark on a pale box so that they read over the
// curves; two rows, so that narrow neighbouring bands (Terra-ASTER's) keep their names.
void PaintBandLabels(QPainter& painter, const ChartView& view)
{
    if (view.bandLabels().empty()) return;
    const plot::ChartScale& s = view.scale();
    const int frame = view.frameWidth();
    const double interior = view.width() - 2 * frame;
    QFont font = AxisFont();
    font.setBold(true);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    std::array<double, 2> rowEnd = {-1e9, -1e9};  // right end of the last label in each row
    for (const ChartView::BandLabel& band : view.bandLabels()) {
        const double centre = (band.lowerNm + band.upperNm) / 2;
        const double x = frame + (centre - s.left) / (s.right - s.left) * interior;
        const int width = metrics.horizontalAdvance(band.name) + 4;
        const double left = x - width / 2.0;
        if (left < frame || left + width > view.width() - frame) continue;
        for (std::size_t row = 0; row < rowEnd.size(); ++row) {
            if (left < rowEnd[row] + 2) continue;
            const QRectF box(left, frame + 1 + static_cast<int>(row) * (metrics.height() + 1),
                             width, metrics.height());
            painter.fillRect(box, QColor(255, 255, 255, 210));
            painter.setPen(QColor(70, 40, 110));
            painter.drawText(box, Qt::AlignCenter, band.name);
            rowEnd[row] = left + width;
            break;
        }
    }
}

// The note at the top right, on the same pale box as the band names, under their two rows when
// a sensor's names are shown.
void PaintNote(QPainter& painter, const ChartView& view)
{
    if (view.note().isEmpty()) return;
    const QFont font = AxisFont();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int frame = view.frameWidth();
    const int rows = view.bandLabels().empty() ? 0 : 2;
    const int width = metrics.horizontalAdvance(view.note()) + 6;
    const QRectF box(view.width() - frame - 2 - width, frame + 2 + rows * (metrics.height() + 1),
                     width, metrics.height());
    painter.fillRect(box, QColor(255, 255, 255, 210));
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(box, Qt::AlignCenter, view.note());
}

}  // namespace

ChartView::ChartView(const plot::ChartScale& scale, bool framed, QWidget* parent)
    : QFrame(parent), scale_(scale), framed_(framed)
{
    if (framed) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(kFrameWidth);
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    resize(sizeHint());  // the scale's size until a layout gives it more
    // The frame and the chart cover every pixel: nothing behind needs painting first, which
    // halves the painting of a refresh.
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_ = QImage(scale.widthPx, scale.heightPx, QImage::Format_RGB32);
    image_.fill(Qt::white);
}

void ChartView::SetImage(const QImage& image)
{
    image_ = image;
    image_.setDevicePixelRatio(static_cast<double>(image.width()) / DisplayedScale().widthPx);
    update();
    emit ImageChanged();
}

QSize ChartView::sizeHint() const
{
    return {scale_.widthPx + 2 * frameWidth(), scale_.heightPx + 2 * frameWidth()};
}

plot::ChartScale ChartView::DisplayedScale() const
{
    plot::ChartScale displayed = scale_;
    if (isVisible()) {
        displayed.widthPx = std::max(1, width() - 2 * frameWidth());
        displayed.heightPx = std::max(1, height() - 2 * frameWidth());
    }
    return displayed;
}

void ChartView::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (isVisible()) emit Resized();
}

void ChartView::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    // A resize made while the window was hidden sends no Resized: the picture drawn before
    // would be shown stretched until the next change.
    const plot::ChartScale displayed = DisplayedScale();
    const int k = SurfacePixelScale();
    if (image_.width() != displayed.widthPx * k || image_.height() != displayed.heightPx * k) {
        emit Resized();
    }
}

int ChartView::SurfacePixelScale() const
{
    const QWindow* window = windowHandle();
    const double ratio = window != nullptr ? window->devicePixelRatio() : devicePixelRatioF();
    return std::max(1, static_cast<int>(std::ceil(ratio - 1e-9)));
}

void ChartView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(
        QRectF(frameWidth(), frameWidth(), width() - 2 * frameWidth(), height() - 2 * frameWidth()),
        image_);
    PaintBandLabels(painter, *this);
    PaintNote(painter, *this);
    if (cursorX_) {
        painter.setPen(QPen(QColor(90, 90, 90), 0, Qt::DotLine));
        painter.drawLine(QLineF(*cursorX_, frameWidth(), *cursorX_, height() - frameWidth() - 1));
    }
}

void ChartView::SetBandLabels(const std::vector<BandLabel>& labels)
{
    bandLabels_ = labels;
    update();
}

void ChartView::SetNote(const QString& note)
{
    if (note == note_) return;
    note_ = note;
    update();
}

void ChartView::SetCursorX(std::optional<double> x)
{
    if (x == cursorX_) return;
    cursorX_ = x;
    update();
}

VerticalLabel::VerticalLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

QSize VerticalLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.height(), metrics.horizontalAdvance(text()) + 2};
}

void VerticalLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.translate(0, height());
    painter.rotate(-90.0);
    painter.drawText(QRect(0, 0, height(), width()), Qt::AlignCenter, text());
}

LegendSwatch::LegendSwatch(const QColor& color, int thickness, QWidget* parent)
    : QWidget(parent), color_(color), thickness_(thickness)
{
    setFixedSize(sizeHint());
}

void LegendSwatch::SetColor(const QColor& color)
{
    color_ = color;
    update();
}

QSize LegendSwatch::sizeHint() const { return {kSwatchLength, std::max(thickness_, 9)}; }

void LegendSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int top = (height() - thickness_) / 2;
    painter.fillRect(QRect(0, top, width(), thickness_), color_);
}

ChartPanel::ChartPanel(const QString& chartName, const plot::ChartScale& scale,
                       const ChartDecorations& decorations, QWidget* parent)
    : QWidget(parent), view_(new ChartView(scale, true, this))
{
    view_->setObjectName(chartName);
    if (!decorations.title.isEmpty()) {
        title_ = new QLabel(decorations.title, this);
        title_->setObjectName(decorations.titleName);
        QFont bold = title_->font();
        bold.setBold(true);
        title_->setFont(bold);
        RegisterText(title_);
    }
    for (const auto& entry : decorations.legend) {
        auto* row = new QWidget(this);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* swatch = new LegendSwatch(entry.color, entry.thickness, row);
        swatch->setObjectName(entry.swatchName);
        layout->addWidget(swatch);
        auto* caption = new QLabel(entry.caption, row);
        layout->addWidget(caption);
        RegisterText(caption);
        legendRows_.push_back(row);
        swatches_.push_back(swatch);
    }
    MakeAxisTexts(decorations);
    for (const auto& axis : decorations.rightLabels) {
        auto* label = new QLabel(axis.text, this);
        label->setObjectName(
            QStringLiteral("%1(%2)").arg(decorations.rightLabelsName).arg(rightLabels_.size()));
        label->setFont(AxisFont());
        label->adjustSize();
        RegisterText(label);
        rightLabels_.emplace_back(axis.value, label);
    }
    if (!decorations.rightAxisTitle.isEmpty()) {
        rightTitle_ = new VerticalLabel(decorations.rightAxisTitle, this);
        rightTitle_->setObjectName(decorations.rightAxisTitleName);
        rightTitle_->setFont(AxisFont());
        rightTitle_->adjustSize();
        RegisterText(rightTitle_);
    }
    if (decorations.strip) {
        stripView_ = new ChartView(decorations.strip->scale, false, this);
        stripView_->setObjectName(decorations.strip->name);
        stripLeft_ = new QLabel(this);
        stripLeft_->setObjectName(decorations.strip->leftLabelName);
        stripRight_ = new QLabel(this);
        stripRight_->setObjectName(decorations.strip->rightLabelName);
    }
    KeepAxisTextSizes();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

// The value labels, the labels under the chart and the two axis titles of `decorations`, in
// the axis font at its size outside presentation mode.
void ChartPanel::MakeAxisTexts(const ChartDecorations& decorations)
{
    int index = decorations.firstLabelIndex;
    const auto makeLabel = [&](const ChartDecorations::AxisLabel& axis) {
        auto* label = new QLabel(axis.text, this);
        label->setObjectName(QStringLiteral("lblGrid(%1)").arg(index++));
        label->setFont(AxisFont());
        label->adjustSize();
        RegisterText(label);
        return std::pair{axis.value, label};
    };
    for (const auto& axis : decorations.valueLabels) valueLabels_.push_back(makeLabel(axis));
    for (const auto& axis : decorations.wavelengthLabels) {
        wavelengthLabels_.push_back(makeLabel(axis));
    }
    if (!decorations.valueAxisTitle.isEmpty()) {
        valueTitle_ = new VerticalLabel(decorations.valueAxisTitle, this);
        valueTitle_->setObjectName(decorations.valueAxisTitleName);
        valueTitle_->setFont(AxisFont());
        valueTitle_->adjustSize();
        RegisterText(valueTitle_);
    }
    if (!decorations.axisTitle.isEmpty()) {
        axisTitle_ = new QLabel(decorations.axisTitle, this);
        axisTitle_->setObjectName(decorations.axisTitleName);
        axisTitle_->setFont(AxisFont());
        axisTitle_->adjustSize();
        RegisterText(axisTitle_);
    }
}

void ChartPanel::SetAxes(const ChartDecorations& axes)
{
    SetAxisTextGrowth(1.0);  // the kept sizes are those at the chart's hinted size
    std::vector<QLabel*> old;
    for (const auto& [value, label] : valueLabels_) old.push_back(label);
    for (const auto& [value, label] : wavelengthLabels_) old.push_back(label);
    if (valueTitle_ != nullptr) old.push_back(valueTitle_);
    if (axisTitle_ != nullptr) old.push_back(axisTitle_);
    for (QLabel* label : old) {
        texts_.erase(std::remove_if(texts_.begin(), texts_.end(),
                                    [label](const auto& text) { return text.first == label; }),
                     texts_.end());
        delete label;
    }
    valueLabels_.clear();
    wavelengthLabels_.clear();
    valueTitle_ = nullptr;
    axisTitle_ = nullptr;
    const std::size_t first = texts_.size();
    MakeAxisTexts(axes);
    for (std::size_t i = first; i < texts_.size(); ++i) {
        QLabel* label = texts_[i].first;
        QFont font = label->font();
        font.setPointSizeF(texts_[i].second * textScale_);
        label->setFont(font);
        label->adjustSize();
        label->show();
    }
    KeepAxisTextSizes();
    updateGeometry();
    PlaceChildren();
}

// A label's size with its texts `growth` times their size at the chart's hinted size, from the
// size it had then, rounded up so that the room reserved never falls short.
QSize ChartPanel::GrownSize(const QLabel* label, double growth) const
{
    for (const auto& [text, base] : axisTexts_) {
        if (text == label) {
            return {static_cast<int>(std::ceil(base.width() * growth)),
                    static_cast<int>(std::ceil(base.height() * growth))};
        }
    }
    return label->size();
}

int ChartPanel::LeftMargin(double growth) const
{
    int widest = 0;
    for (const auto& [value, label] : valueLabels_) {
        widest = std::max(widest, GrownSize(label, growth).width());
    }
    // Half of a wavelength label may hang over the left edge too.
    for (const auto& [value, label] : wavelengthLabels_) {
        widest = std::max(widest, GrownSize(label, growth).width() / 2 - kLabelGap);
    }
    const int title =
        valueTitle_ != nullptr ? GrownSize(valueTitle_, growth).width() + kLabelGap : 0;
    return widest + kLabelGap + title;
}

int ChartPanel::RightMargin(double growth) const
{
    // Half of the last wavelength label hangs over the right edge.
    int room = wavelengthLabels_.empty()
                   ? 0
                   : GrownSize(wavelengthLabels_.back().second, growth).width() / 2;
    int widest = 0;
    for (const auto& [value, label] : rightLabels_) {
        widest = std::max(widest, GrownSize(label, growth).width());
    }
    const int title =
        rightTitle_ != nullptr ? GrownSize(rightTitle_, growth).width() + kLabelGap : 0;
    if (widest + title > 0) room = std::max(room, kLabelGap + widest + kLabelGap + title);
    return room;
}

// The height under the chart: the wavelength labels and the axis title.
int ChartPanel::BottomMargin(double growth) const
{
    const int labels = wavelengthLabels_.empty()
                           ? 0
                           : GrownSize(wavelengthLabels_.front().second, growth).height();
    const int title = axisTitle_ != nullptr ? GrownSize(axisTitle_, growth).height() : 0;
    return labels + title;
}

void ChartPanel::SetExtraLegend(const std::vector<ChartDecorations::LegendEntry>& entries,
                                const QStringList& tips)
{
    for (QWidget* row : extraLegendRows_) {
        texts_.erase(
            std::remove_if(texts_.begin(), texts_.end(),
                           [row](const auto& text) { return text.first->parent() == row; }),
            texts_.end());
        delete row;
    }
    extraLegendRows_.clear();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* row = new QWidget(this);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* swatch = new LegendSwatch(entries[i].color, entries[i].thickness, row);
        swatch->setObjectName(entries[i].swatchName);
        layout->addWidget(swatch);
        auto* caption = new QLabel(entries[i].caption, row);
        layout->addWidget(caption);
        RegisterText(caption);
        QFont font = caption->font();  // at the size the other texts have now
        font.setPointSizeF(font.pointSizeF() * textScale_);
        caption->setFont(font);
        if (i < static_cast<std::size_t>(tips.size()))
            row->setToolTip(tips[static_cast<qsizetype>(i)]);
        extraLegendRows_.push_back(row);
        row->show();
    }
    updateGeometry();
    PlaceChildren();
}

// The extra entries flow in lines below the fixed legend, wrapped at `width`: their offsets
// from the first line's left end (when asked for), and the number of lines.
int ChartPanel::FlowExtraLegend(int width, std::vector<QPoint>* offsets) const
{
    int rowHeight = 0;
    for (const QWidget* row : extraLegendRows_)
        rowHeight = std::max(rowHeight, row->sizeHint().height());
    int x = 0;
    int line = 0;
    for (const QWidget* row : extraLegendRows_) {
        const int rowWidth = row->sizeHint().width();
        if (x > 0 && x + rowWidth > width) {
            x = 0;
            ++line;
        }
        if (offsets != nullptr) offsets->push_back({x, line * (rowHeight + kLegendGap)});
        x += rowWidth + 3 * kLegendGap;
    }
    return extraLegendRows_.empty() ? 0 : (line + 1) * (rowHeight + kLegendGap);
}

int ChartPanel::LegendHeight() const
{
    int height = title_ != nullptr ? title_->sizeHint().height() + kLegendGap : 0;
    int rowHeight = 0;
    for (const QWidget* row : legendRows_)
        rowHeight = std::max(rowHeight, row->sizeHint().height());
    // The extra lines as they flow at the chart's hinted width, the narrowest it is drawn.
    return height + (legendRows_.empty() ? 0 : rowHeight + kLegendGap)
           + FlowExtraLegend(view_->sizeHint().width(), nullptr);
}

QSize ChartPanel::sizeHint() const
{
    const int overhang = RightMargin(1.0);
    const int stripHeight = stripView_ != nullptr
                                ? kLegendGap + stripView_->sizeHint().height()
                                      + stripLeft_->fontMetrics().height() + kLabelGap
                                : 0;
    return {
        LeftMargin(1.0) + view_->sizeHint().width() + overhang,
        LegendHeight() + view_->sizeHint().height() + BottomMargin(1.0) + kLabelGap + stripHeight};
}

void ChartPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceChildren();
}

// How much larger the axis texts are drawn on a chart `grow` times its hinted size: half as
// much larger as the chart, up to kMaxAxisTextGrowth.
double ChartPanel::AxisTextGrowth(double grow)
{
    return std::clamp(1.0 + (grow - 1.0) / 2, 1.0, kMaxAxisTextGrowth);
}

// The chart's growth beyond its hinted size when its texts grow by `growth`: it takes the room
// the panel has beyond what it needs at that text size, keeping its aspect, so that a window
// that only grew in one direction keeps the chart at its size.
double ChartPanel::ChartGrowth(double growth) const
{
    const QSize hint = sizeHint();
    const QSize base = view_->sizeHint();
    const int extraWidth =
        LeftMargin(growth) - LeftMargin(1.0) + RightMargin(growth) - RightMargin(1.0);
    const int extraHeight = BottomMargin(growth) - BottomMargin(1.0);
    return std::min(
        static_cast<double>(base.width() + std::max(0, width() - hint.width() - extraWidth))
            / base.width(),
        static_cast<double>(base.height()
                            + std::max(0, std::min(height(), growthHeight_.value_or(height()))
                                              - hint.height() - extraHeight))
            / base.height());
}

void ChartPanel::SetGrowthHeight(std::optional<int> height)
{
    if (height == growthHeight_) return;
    growthHeight_ = height;
    PlaceChildren();
}

void ChartPanel::SetAxisTextGrowth(double growth)
{
    if (growth == axisGrowth_) return;
    axisGrowth_ = growth;
    for (const auto& [label, pointSize] : texts_) {
        const bool axis = std::any_of(axisTexts_.begin(), axisTexts_.end(),
                                      [label = label](const auto& t) { return t.first == label; });
        if (!axis) continue;
        QFont font = label->font();
        font.setPointSizeF(pointSize * textScale_ * growth);
        label->setFont(font);
        label->adjustSize();
    }
}

void ChartPanel::PlaceChildren()
{
    const plot::ChartScale& s = view_->scale();
    // The axis texts grow with the chart; the chart then takes the room they leave, which can
    // only make it smaller, and the texts follow it down.
    const double growth = AxisTextGrowth(ChartGrowth(AxisTextGrowth(ChartGrowth(1.0))));
    const double grow = ChartGrowth(growth);
    SetAxisTextGrowth(std::min(growth, AxisTextGrowth(grow)));
    const int chartLeft = LeftMargin(axisGrowth_);
    const QSize base = view_->sizeHint();
    const QSize chartSize(static_cast<int>(std::lround(base.width() * grow)),
                          static_cast<int>(std::lround(base.height() * grow)));
    view_->resize(chartSize);
    const int interiorWidth = chartSize.width() - 2 * view_->frameWidth();
    const int interiorHeight = chartSize.height() - 2 * view_->frameWidth();
    int y = 0;
    if (title_ != nullptr) {
        title_->adjustSize();
        title_->move(chartLeft + (view_->width() - title_->width()) / 2, y);
        y += title_->height() + kLegendGap;
    }
    // Legend entries side by side above the chart, from its left edge.
    int x = chartLeft;
    int fixedHeight = 0;
    for (QWidget* row : legendRows_) {
        row->adjustSize();
        row->move(x, y);
        x += row->width() + 3 * kLegendGap;
        fixedHeight = std::max(fixedHeight, row->height() + kLegendGap);
    }
    std::vector<QPoint> offsets;
    FlowExtraLegend(view_->width(), &offsets);
    for (std::size_t i = 0; i < extraLegendRows_.size(); ++i) {
        extraLegendRows_[i]->adjustSize();
        extraLegendRows_[i]->move(chartLeft + offsets[i].x(), y + fixedHeight + offsets[i].y());
    }
    const int chartTop = LegendHeight();
    view_->move(chartLeft, chartTop);

    // Pixel positions of chart values inside the frame.
    const int interiorLeft = chartLeft + view_->frameWidth();
    const int interiorTop = chartTop + view_->frameWidth();
    for (const auto& [value, label] : valueLabels_) {
        const double row = (s.top - value) / (s.top - s.bottom) * interiorHeight;
        label->move(chartLeft - kLabelGap - label->width(),
                    interiorTop + static_cast<int>(std::lround(row)) - label->height() / 2);
    }
    for (const auto& [value, label] : rightLabels_) {
        const double row = (s.top - value) / (s.top - s.bottom) * interiorHeight;
        label->move(chartLeft + view_->width() + kLabelGap,
                    interiorTop + static_cast<int>(std::lround(row)) - label->height() / 2);
    }
    const int chartMiddle = chartTop + view_->height() / 2;
    if (valueTitle_ != nullptr) {
        valueTitle_->adjustSize();
        valueTitle_->move(0, chartMiddle - valueTitle_->height() / 2);
    }
    if (rightTitle_ != nullptr) {
        int widest = 0;
        for (const auto& [value, label] : rightLabels_) widest = std::max(widest, label->width());
        rightTitle_->adjustSize();
        rightTitle_->move(chartLeft + view_->width() + 2 * kLabelGap + widest,
                          chartMiddle - rightTitle_->height() / 2);
    }
    const int labelsTop = chartTop + view_->height() + 1;
    int labelHeight = 0;
    for (const auto& [value, label] : wavelengthLabels_) {
        const double column = (value - s.left) / (s.right - s.left) * interiorWidth;
        label->move(interiorLeft + static_cast<int>(std::lround(column)) - label->width() / 2,
                    labelsTop);
        labelHeight = label->height();
    }
    int bottom = labelsTop + labelHeight;
    if (axisTitle_ != nullptr) {
        axisTitle_->move(chartLeft + (view_->width() - axisTitle_->width()) / 2, bottom);
        bottom += axisTitle_->height();
    }
    if (stripView_ != nullptr) {
        stripView_->resize(chartSize.width(), stripView_->sizeHint().height());
        stripView_->move(chartLeft, bottom + kLegendGap);
        const int labelTop = stripView_->y() + stripView_->height() + 1;
        stripLeft_->adjustSize();
        stripRight_->adjustSize();
        stripLeft_->move(chartLeft, labelTop);
        stripRight_->move(chartLeft + stripView_->width() - stripRight_->width(), labelTop);
    }
}

void ChartPanel::RegisterText(QLabel* label)
{
    texts_.emplace_back(label, label->font().pointSizeF());
}

// The axis texts' sizes at the chart's hinted size, taken while they are drawn at that size.
void ChartPanel::KeepAxisTextSizes()
{
    axisTexts_.clear();
    const auto keep = [this](QLabel* label) {
        if (label != nullptr) axisTexts_.emplace_back(label, label->sizeHint());
    };
    for (const auto& [value, label] : valueLabels_) keep(label);
    for (const auto& [value, label] : wavelengthLabels_) keep(label);
    for (const auto& [value, label] : rightLabels_) keep(label);
    keep(valueTitle_);
    keep(rightTitle_);
    keep(axisTitle_);
}

void ChartPanel::SetPresentation(bool on)
{
    const double scale = on ? kPresentationTextScale : 1.0;
    textScale_ = scale;
    for (const auto& [label, pointSize] : texts_) {
        QFont font = label->font();
        font.setPointSizeF(pointSize * scale);
        label->setFont(font);
        label->adjustSize();
    }
    axisGrowth_ = 1.0;
    KeepAxisTextSizes();
    for (QWidget* row : legendRows_) row->adjustSize();
    for (QWidget* row : extraLegendRows_) row->adjustSize();
    updateGeometry();
    PlaceChildren();
}

void ChartPanel::SetStripLabels(const QString& left, const QString& right)
{
    stripLeft_->setText(left);
    stripRight_->setText(right);
    PlaceChildren();
}

}  // namespace tulmera::widgets
