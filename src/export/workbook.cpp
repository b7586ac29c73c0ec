#include "export/workbook.h"

#include "textio/number_text.h"

namespace tulmera::exports {

double CellNumber(float number) { return textio::ShortestSingleValue(number); }

}  // namespace tulmera::exports
