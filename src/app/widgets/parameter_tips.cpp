#include "app/widgets/parameter_tips.h"

#include <QCoreApplication>
#include <array>
#include <cmath>

#include "app/widgets/controls.h"

namespace tulmera::widgets {
namespace {

constexpr const char* kContext = "tulmera::widgets::ParameterTip";

QString Translated(const char* text) { return QCoreApplication::translate(kContext, text); }

struct TipTexts {
    const char* name;
    const char* unit;
    const char* meaning;
};

// In the order of domain::Input.
constexpr std::array<TipTexts, 14> kTips = {{
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Estructura interna de la hoja (N)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "sin unidad (número de capas)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "Cuantas más capas, más luz dispersa la hoja: refleja más y transmite "
                       "menos, sobre todo en el infrarrojo cercano.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Contenido de clorofila a+b (Cab)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "µg/cm²"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "La clorofila absorbe en el azul y el rojo: con más clorofila la hoja "
                       "refleja menos en el visible.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Espesor equivalente de agua (Cw)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "cm"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "El agua absorbe en el infrarrojo medio, con bandas hondas hacia 1450 y "
                       "1940 nm.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Contenido de materia seca (Cm)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "g/cm²"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "La materia seca (celulosa, lignina, proteínas) absorbe en todo el "
                       "infrarrojo, sobre todo más allá de 1300 nm.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Índice de área foliar (LAI)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "m² de hoja por m² de suelo"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "Con poco LAI se ve el suelo; al crecer, la cubierta refleja más en el "
                       "infrarrojo cercano y menos en el rojo.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Ángulo cenital solar"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "grados"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "El ángulo entre el sol y la vertical: 0 es el sol en el cenit.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Ángulo de observación"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "grados"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "El ángulo entre la dirección de observación y la vertical; el signo "
                       "dice a qué lado de la vertical se mira.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Ángulo acimutal relativo"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "grados"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "El ángulo entre los planos verticales del sol y de la observación: 0 y "
                       "180 son el plano principal.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Parámetro hot spot"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "sin unidad (tamaño de la hoja / altura de la cubierta)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "Cuanto mayor, más ancho el pico de reflectividad que se ve al mirar "
                       "desde la dirección del sol, donde no hay sombras.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Contenido de carotenoides (Car)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "µg/cm²"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "Los carotenoides absorben en el azul y el verde azulado; se ven cuando "
                       "la clorofila se retira en otoño.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Contenido de antocianos (Anth)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "µg/cm²"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "Los antocianos absorben en el verde, hacia 550 nm: la hoja se vuelve "
                       "roja o púrpura.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Pigmentos pardos (Cbrown)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "sin unidad (0 a 1)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "Los pigmentos de la hoja que muere absorben en todo el visible y el "
                       "comienzo del infrarrojo: la hoja se vuelve parda.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Contenido de proteínas (Prot)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "g/cm²"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "Las proteínas, que guardan el nitrógeno de la hoja, absorben en el "
                       "infrarrojo medio, sobre todo hacia 2100-2200 nm.")},
    {QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "Otros constituyentes de carbono (CBC)"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip", "g/cm²"),
     QT_TRANSLATE_NOOP("tulmera::widgets::ParameterTip",
                       "Celulosa, lignina y azúcares: con las proteínas forman la materia "
                       "seca y absorben en todo el infrarrojo medio.")},
}};
static_assert(kTips.size() == static_cast<std::size_t>(domain::Input::CBC) + 1);

// "1 a 100", "más de 0 hasta 10".
QString ShownRange(const domain::InputRange& range)
{
    const QString low = ValueText(range.lowest);
    const QString high = ValueText(range.highest);
    if (range.lowestOpen)
        return QCoreApplication::translate("tulmera::widgets::ParameterTip", "más de %1 hasta %2")
            .arg(low, high);
    return QCoreApplication::translate("tulmera::widgets::ParameterTip", "%1 a %2").arg(low, high);
}

}  // namespace

QString ParameterTip(domain::Input input, double barLowest, double barHighest)
{
    const TipTexts& texts = kTips[static_cast<std::size_t>(input)];
    return QCoreApplication::translate(
               "tulmera::widgets::ParameterTip",
               "<b>%1</b><br>Unidad: %2<br>Barra: %3; la casilla admite %4.<br>%5")
        .arg(Translated(texts.name), Translated(texts.unit), ShownRange({barLowest, barHighest}),
             ShownRange(domain::AcceptedRange(input)), Translated(texts.meaning));
}

QString ArchitectureTip()
{
    return QCoreApplication::translate(
        "tulmera::widgets::ParameterTip",
        "<b>Arquitectura del dosel</b><br>Cómo se inclinan las hojas: planófila (casi "
        "horizontales), erectófila (casi verticales), plagiófila (hacia 45°), extremófila "
        "(horizontales y verticales), esférica (en todas las direcciones).");
}

QString SoilTip()
{
    return QCoreApplication::translate(
        "tulmera::widgets::ParameterTip",
        "<b>Reflectividad del suelo</b><br>El suelo bajo la cubierta, por su textura (arena, "
        "limo, arcilla); se ve a través de una cubierta poco densa.");
}

QString VisibilityTip()
{
    return QCoreApplication::translate(
        "tulmera::widgets::ParameterTip",
        "<b>Visibilidad atmosférica</b><br>15 Km o 50 Km: fija la parte de la luz que llega "
        "difusa desde el cielo; con 15 Km hay más luz difusa.");
}

}  // namespace tulmera::widgets
