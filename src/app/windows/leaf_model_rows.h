#pragma once
#include <QStringList>
#include <QWidget>
#include <array>

#include "leaf/leaf_parameters.h"

class QLabel;
class QLineEdit;
class QScrollBar;

namespace tulmera::app {

// The leaf group's rows for the parameters only PROSPECT-D and PROSPECT-PRO read: Car (0 .. 30
// µg/cm²), Anth (0 .. 40 µg/cm²), Cbrown (0 .. 1) for both, and Prot (0 .. 0.004 g/cm²) and CBC
// (0.0001 .. 0.02 g/cm²) for PRO. Each row is a caption, a bar and a box, as the classic rows;
// the rows a model does not read are hidden. Object names: lblProspectD(i), hsbProspectD(i),
// txtProspectD(i), i = 0 .. 4 in that order.
class LeafModelRows : public QWidget {
    Q_OBJECT
public:
    explicit LeafModelRows(QWidget* parent);

    // Shows the rows `model` reads (none for the classic model); the values stay.
    void ShowModel(leaf::LeafModel model);

    // Sets every bar and box to the values of `p` (rounded to the bar's positions) without
    // emitting Changed.
    void ShowValues(const leaf::LeafParameters& p);

    // Writes the values of the rows p.model reads into `p`, and 0 into the others.
    void ReadInto(leaf::LeafParameters& p) const;

    // The bar ends of row `i` in the parameter's unit (for the tooltips and the tests).
    static double BarLowest(int i);
    static double BarHighest(int i);

signals:
    void Changed();  // a bar moved or a typed value was taken
    // A typed value that was refused (no number, outside the bar) or rounded, in Spanish.
    void Problems(const QStringList& problems);
    // The box refused a typed value for `reason` (also in Problems), or holds a good value
    // again (typed, or its bar moved).
    void Refused(QLineEdit* box, const QString& reason);
    void Accepted(QLineEdit* box);

private:
    void ApplyBox(std::size_t i);
    void ShowBarValues();
    void Translate();

protected:
    void changeEvent(QEvent* event) override;

private:
    std::array<QLabel*, 5> captions_{};
    std::array<QScrollBar*, 5> bars_{};
    std::array<QLineEdit*, 5> boxes_{};
};

}  // namespace tulmera::app
