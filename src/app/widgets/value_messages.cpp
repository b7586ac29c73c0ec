#include "app/widgets/value_messages.h"

#include <QCoreApplication>
#include <cmath>

#include "app/widgets/controls.h"

namespace tulmera::widgets {

QString ControlName(const QString& caption)
{
    QString name = caption.trimmed();
    while (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name.trimmed();
}

QString NotANumber(const QString& control, const QString& text)
{
    const QString shown = text.trimmed().left(30);
    // A decimal comma, as a Spanish keyboard and locale suggest: numbers are read with a point
    // in every language, so say how to write this one.
    QString withPoint = text.trimmed();
    if (withPoint.count(QLatin1Char(',')) == 1
        && ParseValueText(withPoint.replace(QLatin1Char(','), QLatin1Char('.')))) {
        return QCoreApplication::translate(
                   "tulmera::widgets::Messages",
                   "%1: «%2» no es un número; escriba el decimal con punto: %3.")
            .arg(control, shown, withPoint);
    }
    return QCoreApplication::translate("tulmera::widgets::Messages", "%1: «%2» no es un número.")
        .arg(control, shown);
}

QString OutsideRange(const QString& control, double value, const domain::InputRange& range)
{
    const QString shown = std::isfinite(value) ? ValueText(value)
                                               : QCoreApplication::translate(
                                                   "tulmera::widgets::Messages", "ese valor");
    const bool lowFinite = std::isfinite(range.lowest);
    const bool highFinite = std::isfinite(range.highest);
    if (lowFinite && highFinite && !range.lowestOpen && !range.highestOpen) {
        return QCoreApplication::translate("tulmera::widgets::Messages",
                                           "%1: %2 está fuera de %3 a %4.")
            .arg(control, shown, ValueText(range.lowest), ValueText(range.highest));
    }
    QStringList conditions;
    if (lowFinite) {
        conditions << (range.lowestOpen
                           ? QCoreApplication::translate("tulmera::widgets::Messages",
                                                         "mayor que %1")
                                 .arg(ValueText(range.lowest))
                           : QCoreApplication::translate("tulmera::widgets::Messages", "%1 o más")
                                 .arg(ValueText(range.lowest)));
    }
    if (highFinite) {
        conditions << (range.highestOpen
                           ? QCoreApplication::translate("tulmera::widgets::Messages",
                                                         "menor que %1")
                                 .arg(ValueText(range.highest))
                           : QCoreApplication::translate("tulmera::widgets::Messages", "hasta %1")
                                 .arg(ValueText(range.highest)));
    }
    if (conditions.isEmpty())
        return QCoreApplication::translate("tulmera::widgets::Messages",
                                           "%1: debe ser un número finito.")
            .arg(control);
    return QCoreApplication::translate("tulmera::widgets::Messages",
                                       "%1: %2 no se admite; debe ser %3.")
        .arg(control, shown,
             conditions.join(QCoreApplication::translate("tulmera::widgets::Messages", " y ")));
}

QString Rounded(const QString& control, double typed, double used)
{
    return QCoreApplication::translate("tulmera::widgets::Messages", "%1: %2 se redondea a %3.")
        .arg(control, ValueText(typed), ValueText(used));
}

QString BarAtItsEnd(const QString& control, double value, double barEnd)
{
    return QCoreApplication::translate("tulmera::widgets::Messages",
                                       "%1: %2 se usa; la barra queda en su extremo (%3).")
        .arg(control, ValueText(value), ValueText(barEnd));
}

}  // namespace tulmera::widgets
