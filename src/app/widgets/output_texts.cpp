#include "app/widgets/output_texts.h"

#include <QCoreApplication>
#include <QString>

#include "app/widgets/core_texts.h"
#include "canopy/leaf_angles.h"
#include "spectral/soil_library.h"

namespace tulmera::widgets {
namespace {

constexpr const char* kContext = "tulmera::widgets::OutputTexts";

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

// `spanish`, marked for lupdate by QT_TRANSLATE_NOOP in kContext, in the windows' language.
std::string Shown(const char* spanish)
{
    return Utf8(QCoreApplication::translate(kContext, spanish));
}

// Each source text is the Spanish default it replaces, letter for letter (spaces included).
exports::MainWorkbookLabels WorkbookLabels()
{
    exports::MainWorkbookLabels l;
    l.leafModelTitle =
        Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Parametros modelo PROSPECT"));
    l.canopyModelTitle =
        Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Parametros modelo SAILH"));
    l.architecture =
        Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Arquitectura Dosel: "));
    l.soil = Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Suelo:  "));
    l.sunZenith = Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Cenital Solar = "));
    l.viewAngle = Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Cenital obs. = "));
    l.relAzimuth = Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Acimutal Rel. = "));
    l.hotSpot = Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Hot Spot = "));
    l.columnTitles = {Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Long. Onda")),
                      Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Reflec. Hoja")),
                      Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Trans. Hoja")),
                      Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "Reflec. Dosel"))};
    return l;
}

exports::SweepHeaderTexts SweepHeader()
{
    exports::SweepHeaderTexts h;
    h.cabUnit = Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "u.g.cm-2"));
    h.cmUnit = Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts", "g.cm-2"));
    h.columnTitles = Shown(QT_TRANSLATE_NOOP("tulmera::widgets::OutputTexts",
                                             "Lon.onda    Reflectividad     Transmisividad"));
    return h;
}

}  // namespace

exports::OutputTexts WindowOutputTexts()
{
    exports::OutputTexts texts{WorkbookLabels(), SweepHeader(), {}};
    const auto name = [&texts](std::string_view key) {
        const std::string shown = Utf8(CoreText(key));
        if (shown != key) texts.lists.emplace(std::string(key), shown);
    };
    for (const std::string_view key : canopy::kLeafArchitectureNames) name(key);
    for (const std::string_view key : spectral::kSoilKeys) name(key);
    return texts;
}

}  // namespace tulmera::widgets
