#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "spectral/grid.h"

class QLabel;

namespace tulmera::widgets {

class ChartView;

// The values under the pointer on a chart: a thin vertical cursor line at the grid sample
// nearest to the pointer and a small label in the chart's top right corner saying what the
// curves hold there. Keyboard users reach it too: when the chart has the focus, the left and
// right arrow keys move the cursor one sample (with Shift ten), Home and End to the ends.
class ChartReadout : public QObject {
    Q_OBJECT
public:
    // The readout's text for grid index `index` with the pointer at chart height `y` (chart
    // units); an empty text when the chart has nothing to read there.
    using TextOf = std::function<QString(int index, double y)>;

    // Follows the pointer over `view` (which owns the readout). `sampleCount`: the samples the
    // chart's curves have from 400 nm on; no value is read out beyond them.
    ChartReadout(ChartView* view, int sampleCount, TextOf textOf);

    // Reads out what lies under interior pixel (X, Y) of the displayed chart, as the pointer
    // does there; hides the readout where there is no sample.
    void ShowAtPixel(double X, double Y);
    // Reads out grid index `index` at the last height, as the keys do; hides it when outside.
    void ShowSample(int index);
    void Hide();

    // The sample read out, nothing when hidden; and the text shown.
    std::optional<int> index() const { return index_; }
    QString text() const;

    // Says the curves changed: the text of the shown sample is read anew.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceLabel();

    ChartView* view_;
    int sampleCount_;
    TextOf textOf_;
    QLabel* label_;
    std::optional<int> index_;
    double y_ = 0;  // chart units
};

// "800 nm": the wavelength of grid index `index`, as readouts begin.
QString ReadoutWavelength(int index);

// "45.12 %": a value in percent as readouts show it (four significant digits).
QString ReadoutPercent(double value);

// The readout of a family of curves (each a spectrum in percent, the sweep charts' units) at
// grid index `index` and chart height `y`: the wavelength, then the curve nearest to `y` by its
// `labels` entry ("N = 1.5") and its value. An empty text when there are no curves.
QString FamilyReadoutText(int index, double y, const std::vector<const spectral::Spectrum*>& curves,
                          const std::vector<QString>& labels);

}  // namespace tulmera::widgets
