#pragma once
#include <QString>

#include "domain/input_domain.h"

// The short Spanish sentences the windows show when a typed value is refused or adjusted. Each
// names the control by its caption (without the trailing colon) and says what is allowed.
namespace tulmera::widgets {

// "Ángulo cenital solar:" -> "Ángulo cenital solar".
QString ControlName(const QString& caption);

// "Ángulo cenital solar: «abc» no es un número."; for a number written with a decimal comma,
// "Ángulo cenital solar: «1,5» no es un número; escriba el decimal con punto: 1.5."
QString NotANumber(const QString& control, const QString& text);

// "Ángulo cenital solar: 120 está fuera de 0 a 90." for an interval with both ends included;
// "Índice de área foliar (LAI): 0 no se admite; debe ser mayor que 0 y hasta 100." otherwise.
QString OutsideRange(const QString& control, double value, const domain::InputRange& range);

// "Contenido de clorofila a+b (u.g.cm-2): 40.123 se redondea a 40.12."
QString Rounded(const QString& control, double typed, double used);

// "Indice de área foliar (LAI): 8 se usa; la barra queda en su extremo (7)."
QString BarAtItsEnd(const QString& control, double value, double barEnd);

}  // namespace tulmera::widgets
