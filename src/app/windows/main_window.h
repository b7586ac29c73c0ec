#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/language.h"
#include "app/widgets/chart_saving.h"
#include "app/widgets/refusal_marks.h"
#include "canopy/canopy_run.h"
#include "domain/input_domain.h"
#include "export/main_export.h"
#include "leaf/leaf_parameters.h"
#include "plot/kept_spectra.h"
#include "plot/main_charts.h"
#include "plot/raster_surface.h"
#include "refresh/refresh.h"
#include "session/session.h"

class QAction;
class QComboBox;
class QGridLayout;
class QScrollArea;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QScrollBar;

namespace tulmera::widgets {
class ChartPanel;
class ChartReadout;
class PresentationEntry;
class ThumbFollower;
}  // namespace tulmera::widgets

namespace tulmera::app {

class GuideWindow;
class HemisphereWindow;
class LeafModelRows;
class SensorDock;
class MeasuredPanel;

// The main window: the four leaf parameters and the canopy parameters, and the leaf and canopy
// charts that every change redraws. Loading the window (the constructor) runs the start-up
// sequence, which writes "VP.dat" and "VS.dat" in the current directory.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    const leaf::LeafParameters& leafParameters() const { return leaf_; }
    const canopy::CanopyState& canopyState() const { return canopyState_; }
    // The canopy inputs of the last good recomputation: boxes, list texts and visibility.
    const canopy::CanopyInputs& canopyInputs() const { return lastGood_.canopy; }

    // What the spreadsheet export writes in its header rows: the current leaf parameters, the
    // values kept by the last canopy run, the list texts and the view and azimuth texts.
    exports::MainExportHeader ExportHeader() const;

    // Takes the keyboard focus from the control that has it, so that a value being typed is
    // applied (or refused) now: before the window empties its files and goes.
    void FinishEditing();

    // Empties "VP.dat" then "VS.dat"; returns the failure message, or an empty text.
    static QString EmptyWorkingFiles();

    // Saves the spectra the charts show (exports::MainSpectraCsv of the last good
    // recomputation) into `fileName`, replacing it only once the new file is complete. Says in
    // the status line, in Spanish, that it was saved or why not. True when saved.
    bool SaveSpectraCsv(const QString& fileName);

    // Saves both charts as they are shown, drawn anew as PNG images at 1 .. 4 image pixels per
    // chart pixel or as SVG pictures, as the files "<name>-hoja.png" and "<name>-cubierta.png"
    // (.svg) beside `fileName` ("<name>.png"); both are replaced together or neither. Reports
    // as SaveSpectraCsv. True when saved.
    bool SaveChartImages(const QString& fileName, widgets::ChartImageFormat format);

    // main_window_session.cpp: sessions and kept spectra.
    // What the window shows, as a session: the last good recomputation's values, the measured
    // files, the kept spectra and the open windows (SetOpenWindowsQuery).
    session::Session CurrentSession() const;
    // "Abrir sesión…": a file that cannot be read, is damaged or was written by a newer
    // version is refused in a message box naming the reason, and nothing changes. True when
    // opened.
    bool OpenSession(const QString& fileName);
    // Shows `session`: every control, the measured files (a relative name from `folder`; a
    // file that cannot be read is left out and reported in a message box), the kept spectra,
    // the docks; asks for the canopy sweep and sensitivity windows it lists. Then recomputes.
    void ApplySession(const session::Session& session, const QString& folder);
    // "Guardar sesión…": writes CurrentSession into `fileName` (staged: the old file stays
    // until the new one is complete); says in the status line that it was saved or why not.
    bool SaveSession(const QString& fileName);
    // "Abrir la última sesión al iniciar" (off by default) and the file the window writes its
    // session into when it goes, for the next start.
    static bool ReopensLastSession();
    static QString LastSessionFile();
    void RememberLastSession() const;  // when the choice is on; a failure goes to stderr
    // Which windows beside this one are open; the program tells.
    void SetOpenWindowsQuery(std::function<session::OpenWindows()> query);
    // "Fijar espectros": keeps the shown leaf and canopy curves, labelled with their values
    // (at most session::kMaxKeptSpectra); "Quitar espectros fijados": removes one.
    void KeepSpectra();
    void RemoveKeptSpectra(std::size_t index);
    const std::vector<plot::KeptSpectra>& keptSpectra() const { return kept_; }

    // The bars' column of the controls: its usual width, and the least on a narrow screen.
    static constexpr int kControlsColumnWidth = 260;
    static constexpr int kNarrowControlsColumnWidth = 120;

signals:
    void ExportRequested();              // "Ver hoja de calculo"
    void MultipleSimulationRequested();  // "Modelo Prospect"
    void CanopySweepRequested();         // "Modelo SAILH"
    void SensitivityRequested();         // "Análisis de sensibilidad"
    void ExitRequested();                // "Sailr"

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildSessionMenus(QMenu* fileMenu);  // main_window_session.cpp
    void ShowKeptEntries();
    void ShowExtraLegends();  // the measured, kept and fitted curves' entries beside the legend
    QString KeptLabel() const;
    // main_window_sharing.cpp: the spectra file, the readouts, the dragged thumbs.
    void BuildSharingMenus(QMenu* fileMenu, QMenu* settingsMenu);
    void ConnectSharing();
    // main_window_help.cpp: "Configuracion › Idioma", the "Ayuda" menu and its windows.
    void BuildLanguageMenu(QMenu* settingsMenu);
    // main_window_leaf_model.cpp: "Configuracion › Modelo de hoja" and the model's rows.
    static leaf::LeafModel RememberedLeafModel();
    void BuildLeafModelMenu(QMenu* settingsMenu);
    void BuildLeafModelRows(QWidget* group);
    void ShowLeafModel(leaf::LeafModel model);
    void ChooseLeafModel(leaf::LeafModel model);
    void ReadLeafModelRows(leaf::LeafParameters& p) const;
    // main_window_sky_mix.cpp: "Configuracion › Mezcla de cielo" and the canopy chart's note.
    static canopy::SkyMix RememberedSkyMix();
    void BuildSkyMixMenu(QMenu* settingsMenu);
    void ShowSkyMix(canopy::SkyMix mix);
    void ChooseSkyMix(canopy::SkyMix mix);
    static QString SkyMixNote(canopy::SkyMix mix);  // empty for the classic mix
    void ChooseLanguage(Language language);
    void BuildHelpMenu();
    // main_window_presentation.cpp: "Ver › Modo presentación".
    void BuildPresentationEntry(QMenu* viewMenu);
    void ApplyPresentation(bool on);
    void ShowGuide();
    void ShowHemisphere();  // "Ver › Vista hemisférica"
    QString LeafReadoutText(int index) const;
    QString CanopyReadoutText(int index) const;
    QWidget* BuildContent(QWidget* parent);  // both groups, one above the other
    QWidget* BuildProspectGroup();
    QWidget* BuildSailhGroup();
    void Connect();
    void OpenAtNaturalSize(QWidget* content);
    void RedrawIfResized();
    // main_window_fit.cpp: the window on its screen with its docks.
    void FitToScreenSoon();
    void FitToScreen();
    void TabifyIfStacked(const QRect& free);
    void NarrowIfTooWide(const QRect& free);
    int DockRoomBeside() const;
    int ContentMinimumWidth(int columnWidth) const;
    void KeepCanopyChartInView();

    // What the controls show: the inputs of one recomputation. The window keeps the start
    // values and those of the last good recomputation, and shows them again when needed.
    struct ShownControls {
        std::array<int, 4> leafBars{};
        std::array<int, 5> canopyBars{};
        canopy::CanopyInputs canopy = canopy::StartCanopyInputs();  // boxes, list keys, option
        std::array<int, 2> listEntries{};
        int background = 1;
        leaf::LeafParameters leaf = leaf::kStartLeafParameters;
    };
    ShownControls StartControls() const;
    ShownControls CapturedControls(const canopy::CanopyInputs& inputs) const;
    void ShowControls(const ShownControls& shown);

    void StartUp();
    bool ApplyLeafBars();  // every leaf box from its bar
    bool ApplyLeafBar(std::size_t i);
    void ApplyCanopyBars();
    void ChooseBackground(int entry);
    void RestoreStartValues();
    void ApplyLeafBox(std::size_t i);
    void ApplyCanopyBox(std::size_t i);
    void ApplyFitted(const leaf::LeafParameters& fitted, std::optional<double> lai);
    void ShowLeafBarValues();
    void ShowLeafValues(const leaf::LeafParameters& leaf);
    static std::array<double, 4> LeafBoxValues(const leaf::LeafParameters& leaf);
    void ShowCanopyBarValues();
    void SetLeafParametersFromTexts();
    void ReadCanopyInputs(canopy::CanopyInputs& inputs, QStringList& problems);
    QString CanopyControlName(std::size_t i) const;
    QString RefusedControlName(domain::Input input) const;
    void MarkRefusedInput(domain::Input input, const QString& reason);
    // Recomputes from the controls; true when the charts now show exactly what the controls
    // show (a refused box is set back to its last good value and reported, returning false).
    bool Recompute();
    void ShowBandNumbers();
    plot::RasterSurface& DrawingSurface(std::unique_ptr<plot::RasterSurface>& surface,
                                        const plot::ChartScale& scale, int pixelScale);

    // The controls, named for what they are. Their object names, which the tests and the
    // automation find them by, are the form's own:
    //   hsbProspect(i), txtProspect(i), lblProspect(i)   leafBars_, leafBoxes_, leafCaptions_
    //   hsbSailh(i), txtSailh(i)                          canopyBars_, canopyBoxes_
    //   lblSailh(0..2), lblSailh(3..7)                    canopyCaptions_ (lists, visibility, bars)
    //   lblRechazoHoja, lblRechazoDosel                   leafRefusals_, canopyRefusals_ notes
    //   cmbSailh(0), cmbSailh(1)                          canopyLists_ (architecture, soil)
    //   tipocielo(0), tipocielo(1)                        visibilityOptions_ (15 Km, 50 Km)
    //   menu11 "Ver hoja de calculo"                      exportAction_
    //   menu121 "Modelo Prospect"                         switchToSweepAction_
    //   menu122 "Modelo SAILH"                            canopySweepAction_
    //   menu123 "Análisis de sensibilidad"                sensitivityAction_
    //   menu13 "Sailr"                                    exitAction_
    //   menu22 "Restablecer valores iniciales"            restoreStartAction_
    //   menu211(1..10) "Gráficos" entries                 backgroundActions_
    //   pctProspect, pctSailh                             leafChartPanel_, canopyChartPanel_
    //   sensorDock "Sensor e índices", menu "Ver"          sensorDock_ (see sensor_dock.h)
    //   mnuVistaHemisferica "Vista hemisférica" (Ver)      hemisphereWindow_
    //   menu23 "Idioma", menu23(es), menu23(en)           (main_window_help.cpp)
    //   menu24 "Modelo de hoja", menu24(classic|prospect-d|prospect-pro)   leafModelActions_
    //   menu25 "Mezcla de cielo", menu25(classic|physical)                  skyMixActions_
    //   leafModelRows: lblProspectD(i), hsbProspectD(i), txtProspectD(i)   leafModelRows_
    //   menu3 "Ayuda": menu31 "Guía de uso", menu32 "Acerca de Tulmera"
    std::array<QScrollBar*, 4> leafBars_{};
    std::array<QLineEdit*, 4> leafBoxes_{};
    std::array<QLabel*, 4> leafCaptions_{};
    std::array<QAction*, 3> leafModelActions_{};  // in the order of leaf::kLeafModels
    LeafModelRows* leafModelRows_ = nullptr;
    std::array<QAction*, 2> skyMixActions_{};  // classic, physical
    // The mix the next recomputation uses (the remembered one at start).
    canopy::SkyMix skyMix_ = canopy::SkyMix::Classic;
    std::array<QScrollBar*, 5> canopyBars_{};
    std::array<QLineEdit*, 5> canopyBoxes_{};
    // The refused values of each group's boxes: the boxes marked, the reasons in a note under
    // them (lblRechazoHoja, lblRechazoDosel).
    std::unique_ptr<widgets::RefusalMarks> leafRefusals_;
    std::unique_ptr<widgets::RefusalMarks> canopyRefusals_;
    std::array<QLabel*, 8> canopyCaptions_{};  // 0..2: lists and visibility; 3..7: the bars
    std::array<QComboBox*, 2> canopyLists_{};  // leaf architecture, soil
    std::array<QRadioButton*, 2> visibilityOptions_{};  // 15 Km, 50 Km
    QAction* exportAction_ = nullptr;
    QAction* switchToSweepAction_ = nullptr;
    QAction* canopySweepAction_ = nullptr;
    QAction* sensitivityAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* restoreStartAction_ = nullptr;
    // entries 1..kBackgroundEntryCount; element 0 unused
    std::array<QAction*, plot::kBackgroundEntryCount + 1> backgroundActions_{};
    widgets::ChartPanel* leafChartPanel_ = nullptr;
    widgets::ChartPanel* canopyChartPanel_ = nullptr;
    QAction* saveSpectraAction_ = nullptr;                // "Guardar espectros (CSV)…"
    QAction* followThumbAction_ = nullptr;                // "Actualizar al arrastrar"
    widgets::PresentationEntry* presentation_ = nullptr;  // "Modo presentación"
    bool presenting_ = false;
    widgets::ThumbFollower* thumbFollower_ = nullptr;

    QScrollArea* scroller_ = nullptr;             // scrTulmera: the controls and charts
    std::array<QGridLayout*, 2> controlGrids_{};  // the leaf and the canopy controls
    bool fitPending_ = false;
    SensorDock* sensorDock_ = nullptr;
    MeasuredPanel* measuredPanel_ = nullptr;       // dckMedido: measured spectra and the leaf fit
    QPointer<GuideWindow> guideWindow_;            // frmGuia, made when first asked for
    QPointer<HemisphereWindow> hemisphereWindow_;  // frmHemisferio, likewise

    leaf::LeafParameters leaf_ = leaf::kStartLeafParameters;
    canopy::CanopyState canopyState_;
    ShownControls lastGood_;
    plot::ChartBackground background_;
    // The charts are drawn on the back pair of surfaces while the front pair is shown; a
    // recomputation that succeeds makes its pair the shown one.
    struct ChartSurfaces {
        std::unique_ptr<plot::RasterSurface> leaf;
        std::unique_ptr<plot::RasterSurface> canopy;
    };
    std::array<ChartSurfaces, 2> surfaces_;
    std::size_t back_ = 0;

    // Sessions and kept spectra (main_window_session.cpp): mnuGuardarSesion, mnuAbrirSesion,
    // mnuUltimaSesion in "Archivo"; menuEspectros with mnuFijarEspectros and
    // mnuQuitarFijados (one entry per kept set, mnuQuitarFijado(k)).
    std::vector<plot::KeptSpectra> kept_;
    QAction* keepAction_ = nullptr;
    QMenu* removeKeptMenu_ = nullptr;
    std::function<session::OpenWindows()> openWindows_;
};

}  // namespace tulmera::app
