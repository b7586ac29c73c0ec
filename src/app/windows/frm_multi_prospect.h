#pragma once
#include <QMainWindow>
#include <array>
#include <memory>

#include "multi/sweep_controls.h"
#include "plot/raster_surface.h"
#include "plot/sweep_chart.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tulmera::widgets {
class ChartPanel;
class DescendingScrollBar;
}  // namespace tulmera::widgets

namespace tulmera::multi {

// The multiple-simulation window: one leaf parameter swept between two limits while the other
// three are held, the family of reflectance curves on the sweep chart with its colour legend,
// and the export of the sweep's spectra.
class FrmMultiProspect : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMultiProspect(QWidget* parent = nullptr);
    ~FrmMultiProspect() override;

    // The number of values of the last completed sweep (0 before the first).
    int nsim() const { return nsim_; }

    // Shows a message in the window's status line.
    void ShowMessage(const QString& message);

    // Empties "MVP.dat" then "MVPaint.dat"; returns the failure message, or an empty text.
    static QString EmptyWorkingFiles();

signals:
    void ExportRequested(int nsim);  // cmdfich "Hoja de calculo"
    void ExitRequested();            // Command2 "Sailr"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildParameterGroup();
    QWidget* BuildLimitGroup();
    QWidget* BuildButtons();
    void Connect();

    void Load();
    void SetUpFor(SweptParameter parameter);
    SweptParameter Selected() const;
    void ShowLimit(int bar);
    void Run();
    SweepTexts ReadTexts() const;
    void ShowCharts();

    struct Ui {
        std::array<QRadioButton*, 4> btOption{};
        std::array<QScrollBar*, 4> rowBars{};                      // hsN, hscab, hscw, hscm
        std::array<QLineEdit*, 4> rowTexts{};                      // txtN, txtcab, txtcw, txtcm
        std::array<widgets::DescendingScrollBar*, 3> limitBars{};  // vsmax, vsmin, vsinter
        std::array<QLabel*, 3> limitLabels{};                      // lblmax, lblmin, lblinter
        QPushButton* btok = nullptr;
        QPushButton* cmdfich = nullptr;
        QPushButton* Command2 = nullptr;
        widgets::ChartPanel* chartPanel = nullptr;
        QLabel* Label8 = nullptr;
    } ui_;

    std::unique_ptr<plot::RasterSurface> chart_;   // pctMProspect: keeps every curve of a sweep
    std::unique_ptr<plot::RasterSurface> legend_;  // pctlegend
    int nsim_ = 0;
};

}  // namespace tulmera::multi
