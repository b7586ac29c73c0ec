#pragma once
#include "export/output_texts.h"

// The words the windows' exports write (workbook captions, a sweep block's header lines, the
// list texts of CSV files and workbooks), in the windows' language.
namespace tulmera::widgets {

// The installed translators' texts; without one, the Spanish defaults of exports::OutputTexts
// and no list names, so that every file stays as the Spanish program writes it.
exports::OutputTexts WindowOutputTexts();

}  // namespace tulmera::widgets
