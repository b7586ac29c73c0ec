#pragma once
#include <QColor>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "plot/chart_surface.h"

namespace tulmera::widgets {

// The interior of a chart (its ChartSurface's picture), inside a sunken frame 2 pixels wide
// or without a frame.
class ChartView : public QFrame {
    Q_OBJECT
public:
    static constexpr int kFrameWidth = 2;

    ChartView(const plot::ChartScale& scale, bool framed, QWidget* parent);
    int frameWidth() const { return framed_ ? kFrameWidth : 0; }

    // Shows `image`, the surface's picture, stretched over the interior if its size differs.
    void SetImage(const QImage& image);
    const QImage& image() const { return image_; }
    const plot::ChartScale& scale() const { return scale_; }

    // The chart's scale with the interior's displayed size in pixels: the same user units on a
    // larger interior once a layout has grown the view; `scale()` until the view is shown.
    plot::ChartScale DisplayedScale() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The pixel scale a surface drawn for this view should use: the screen's device pixel
    // ratio, rounded up, so that charts stay sharp on high-DPI screens.
    int SurfacePixelScale() const;

    // The names of a sensor's bands, shown at the top of their stripes over the picture (never
    // drawn into it); a name that would overlap the one before moves to a second row, and
    // one that finds no room is left out. Empty: none.
    struct BandLabel {
        double lowerNm;  // in chart units: the band's edges
        double upperNm;
        QString name;
    };
    void SetBandLabels(const std::vector<BandLabel>& labels);
    const std::vector<BandLabel>& bandLabels() const { return bandLabels_; }

    // A short note in the chart's top right corner, below the band names' rows when there are
    // any (how the picture was computed, when that is not the usual way); empty: none. Drawn
    // over the picture, never into it.
    void SetNote(const QString& note);
    const QString& note() const { return note_; }

    // A thin vertical cursor line over the chart at widget column `x` (pixels, frame
    // included), or none. Drawn over the picture, never into it.
    void SetCursorX(std::optional<double> x);
    std::optional<double> cursorX() const { return cursorX_; }

signals:
    // The interior changed size, or the view was shown at a size its picture was not drawn
    // for (a window restored at a remembered size): a picture drawn for DisplayedScale() is due.
    void Resized();
    // SetImage showed a new picture.
    void ImageChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    plot::ChartScale scale_;
    bool framed_;
    QImage image_;
    std::optional<double> cursorX_;
    std::vector<BandLabel> bandLabels_;
    QString note_;
};

// A short line in a legend, coloured as the curve it names.
class LegendSwatch : public QWidget {
    Q_OBJECT
public:
    LegendSwatch(const QColor& color, int thickness, QWidget* parent);
    void SetColor(const QColor& color);
    QColor color() const { return color_; }
    int thickness() const { return thickness_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
    int thickness_;
};

// A label read from bottom to top, for a vertical axis's title.
class VerticalLabel : public QLabel {
    Q_OBJECT
public:
    VerticalLabel(const QString& text, QWidget* parent);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

// What surrounds a chart: its legend, value labels and axis title. The charts draw no text;
// every label here is a separate label placed at the height or wavelength of its value.
struct ChartDecorations {
    struct LegendEntry {
        QString swatchName;  // object name of the swatch ("Line1")
        QColor color;
        int thickness;
        QString caption;
    };
    struct AxisLabel {
        double value;  // in chart units: a y value for the value labels, a wavelength below
        QString text;
    };
    QString title;  // above the chart, may be empty
    QString titleName;
    std::vector<LegendEntry> legend;
    std::vector<AxisLabel> valueLabels;  // left of the chart, centred on their height
    QString valueAxisTitle;              // left of them, read upward; may be empty
    QString valueAxisTitleName;
    // A second quantity on the right (the leaf transmittance): labels centred on the height
    // at which their value is drawn, and their title; none when empty.
    std::vector<AxisLabel> rightLabels;
    QString rightLabelsName;  // the labels are named rightLabelsName(k)
    QString rightAxisTitle;
    QString rightAxisTitleName;
    std::vector<AxisLabel> wavelengthLabels;  // under the chart, centred on their wavelength
    int firstLabelIndex = 0;                  // names the labels lblGrid(firstLabelIndex + k)
    QString axisTitle;                        // under the wavelength labels
    QString axisTitleName;
    // A frameless strip under it all, as wide as the framed chart, with a label under each end.
    struct Strip {
        QString name;
        plot::ChartScale scale;
        QString leftLabelName;
        QString rightLabelName;
    };
    std::optional<Strip> strip;
};

// A chart with its decorations, laid out by hand around the chart so that each label sits
// exactly at its value whatever the font. The chart opens at its scale's size and takes the
// room a layout gives the panel beyond that; its axis numbers and titles grow with it.
class ChartPanel : public QWidget {
    Q_OBJECT
public:
    ChartPanel(const QString& chartName, const plot::ChartScale& scale,
               const ChartDecorations& decorations, QWidget* parent);

    ChartView* view() const { return view_; }
    ChartView* stripView() const { return stripView_; }
    QLabel* stripLabel(int end) const { return end == 0 ? stripLeft_ : stripRight_; }
    // The texts under the left and the right end of the strip.
    void SetStripLabels(const QString& left, const QString& right);
    LegendSwatch* swatch(int entry) const { return swatches_.at(static_cast<std::size_t>(entry)); }
    // Entries after the fixed legend, in the same row, replacing those set before (the kept
    // spectra: short captions, the full one in each entry's tooltip, `tips`). The chart keeps
    // its place.
    void SetExtraLegend(const std::vector<ChartDecorations::LegendEntry>& entries,
                        const QStringList& tips);

    // Replaces the value labels, the labels under the chart and the two axis titles with those
    // of `axes` (its valueLabels, wavelengthLabels, firstLabelIndex, valueAxisTitle and
    // axisTitle with their names; the rest is not read) and places them; they follow
    // presentation mode and grow with the chart as the first ones did.
    void SetAxes(const ChartDecorations& axes);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The chart grows into no more than the panel's top `height` pixels (a panel taller than
    // its view shows); none: all of it.
    void SetGrowthHeight(std::optional<int> height);

    // Presentation mode: every text around the chart kPresentationTextScale times larger, for
    // projection; the chart keeps its size.
    void SetPresentation(bool on);
    static constexpr double kPresentationTextScale = 1.5;
    // The axis numbers and titles grow with the chart, at most this many times their size.
    static constexpr double kMaxAxisTextGrowth = 1.6;
    double axisTextGrowth() const { return axisGrowth_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceChildren();
    void MakeAxisTexts(const ChartDecorations& decorations);
    void RegisterText(QLabel* label);
    void KeepAxisTextSizes();
    QSize GrownSize(const QLabel* label, double growth) const;
    int LeftMargin(double growth) const;
    int RightMargin(double growth) const;
    int BottomMargin(double growth) const;
    static double AxisTextGrowth(double grow);
    double ChartGrowth(double growth) const;
    void SetAxisTextGrowth(double growth);
    int LegendHeight() const;
    int FlowExtraLegend(int width, std::vector<QPoint>* offsets) const;

    ChartView* view_;
    QLabel* title_ = nullptr;
    std::vector<QWidget*> legendRows_;
    std::vector<LegendSwatch*> swatches_;
    std::vector<QWidget*> extraLegendRows_;
    double textScale_ = 1.0;  // kPresentationTextScale in presentation mode
    std::vector<std::pair<double, QLabel*>> valueLabels_;
    std::vector<std::pair<double, QLabel*>> wavelengthLabels_;
    std::vector<std::pair<double, QLabel*>> rightLabels_;
    QLabel* valueTitle_ = nullptr;
    QLabel* rightTitle_ = nullptr;
    QLabel* axisTitle_ = nullptr;
    ChartView* stripView_ = nullptr;
    QLabel* stripLeft_ = nullptr;
    QLabel* stripRight_ = nullptr;
    // Every text around the chart, with its font's size outside presentation mode.
    std::vector<std::pair<QLabel*, double>> texts_;
    // The axis numbers and titles with their sizes at the chart's hinted size, and how many
    // times larger they are drawn now.
    std::vector<std::pair<QLabel*, QSize>> axisTexts_;
    double axisGrowth_ = 1.0;
    std::optional<int> growthHeight_;
};

}  // namespace tulmera::widgets
