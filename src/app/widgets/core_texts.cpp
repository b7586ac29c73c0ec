#include "app/widgets/core_texts.h"

#include <QByteArray>
#include <QCoreApplication>

namespace tulmera::widgets {
namespace {

constexpr const char* kContext = "tulmera::widgets::CoreText";

// Every table text the windows show, listed so that lupdate finds them; the tables themselves
// are in rooms without Qt. A text missing here shows in Spanish (a test checks there is none).
[[maybe_unused]] constexpr const char* kTableTexts[] = {
    // multi::kParameterRows, kMainLeafRows, kCanopyRows
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Esrtructura interna de la hoja (N):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Estructura interna de la hoja (N):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Contenido de clorofila a+b (u.g.cm-2):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Espesor equivalente de agua (cm)"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Espesor equivalente de agua (cm):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Contenido de materia seca (g.cm-2):"),
    // multi::kModelParameterRows
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Carotenoides (Car, µg/cm²):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Antocianos (Anth, µg/cm²):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Pigmentos pardos (Cbrown, 0 a 1):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Proteínas (Prot, g/cm²):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText",
                      "Otros constituyentes de carbono (CBC, g/cm²):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Indice de área foliar (LAI):"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Ángulo cenital solar:"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Ángulo de observación:"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Ángulo acimutal relativo:"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Parámetro Hot-Spot:"),
    // multi::kLimitCaptions
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Límite superior:"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Límite inferior:"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Intervalo:"),
    // plot::kBackgroundCaptions
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Cuadricula"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Bandas IRS-WIS"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Bandas NOAA-AVHRR"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Bandas Landsat-TM"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Bandas SPOT-VEGETATION"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Bandas IKONOS"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Bandas Terra-MODIS"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Bandas Terra-ASTER"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Bandas Sentinel-2 MSI"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Bandas Landsat-8/9 OLI"),
    // canopy::kLeafArchitectureNames
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Planofilo"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Erectofilo"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Plagiofilo"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Extremofilo"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "Esferico"),
    // spectral::kSoilKeys
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "S1:61% arena 24% limo 15% arcilla"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "S2:32% arena 39% limo 29% arcilla"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "S3:44% arena 39% limo 29% arcilla"),
    QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "S4:61% arena 26% limo 13% arcilla"),
};

}  // namespace

QString CoreText(std::string_view spanish)
{
    const QByteArray source(spanish.data(), static_cast<qsizetype>(spanish.size()));
    return QCoreApplication::translate(kContext, source.constData());
}

QString BandRegionText(std::string_view englishName)
{
    struct RegionText {
        std::string_view english;
        const char* spanish;
    };
    static constexpr RegionText kRegions[] = {
        {"deep blue", QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "azul profundo")},
        {"blue", QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "azul")},
        {"green", QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "verde")},
        {"red", QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "rojo")},
        {"red edge", QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "borde rojo")},
        {"NIR", QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "IRC")},
        {"SWIR", QT_TRANSLATE_NOOP("tulmera::widgets::CoreText", "SWIR")},
    };
    for (const RegionText& region : kRegions) {
        if (region.english == englishName)
            return QCoreApplication::translate(kContext, region.spanish);
    }
    return QString::fromUtf8(englishName.data(), static_cast<qsizetype>(englishName.size()));
}

}  // namespace tulmera::widgets
