#include "export/main_export.h"

#include <utility>

#include "export/result_reading.h"
#include "spectral/grid.h"
#include "textio/field_reader.h"
#include "textio/number_text.h"
#include "textio/working_files.h"

namespace tulmera::exports {
namespace {

constexpr RowNumber kTitleRow = 14;
constexpr RowNumber kFirstDataRow = 15;  // 400 nm; 2500 nm is row 435

void AddText(std::vector<Cell>& cells, RowNumber row, int column, std::string text)
{
    cells.emplace_back(row, column, std::move(text));
}

void AddNumber(std::vector<Cell>& cells, RowNumber row, int column, float number)
{
    cells.emplace_back(row, column, number);
}

void AddHeader(std::vector<Cell>& cells, const MainExportHeader& h, const OutputTexts& texts)
{
    using textio::NumberText;
    const MainWorkbookLabels& l = texts.mainWorkbook;
    AddText(cells, 1, 1, l.leafModelTitle);
    AddText(cells, 2, 1, "N = " + NumberText(h.leaf.N));
    AddText(cells, 3, 1, "Ca+b = " + NumberText(h.leaf.Cab));
    AddText(cells, 4, 1, "Cw = " + NumberText(h.leaf.Cw));
    AddText(cells, 5, 1, "Cm = " + NumberText(h.leaf.Cm));
    AddText(cells, 6, 1, l.canopyModelTitle);
    AddText(cells, 7, 1, "LAI = " + NumberText(h.lai));
    AddText(cells, 8, 1, l.architecture + NameOf(texts.lists, h.architecture));
    AddText(cells, 9, 1, l.soil + NameOf(texts.lists, h.soil));
    AddText(cells, 10, 1, l.sunZenith + NumberText(h.sunZenith));
    AddText(cells, 11, 1, l.viewAngle + h.viewText);
    AddText(cells, 12, 1, l.relAzimuth + h.azimuthText);
    AddText(cells, 13, 1, l.hotSpot + NumberText(h.hotSpot));
    for (int c = 0; c < 4; ++c) {
        AddText(cells, kTitleRow, c + 1, l.columnTitles[static_cast<std::size_t>(c)]);
    }
}

}  // namespace

Workbook MainWindowWorkbook(const MainExportHeader& header, const OutputTexts& texts)
{
    textio::FieldReader leafFile = textio::FieldReader::Open(kLeafSpectrumFile);
    return MainWindowWorkbook(header, std::move(leafFile),
                              textio::FieldReader::Open(kCanopySpectrumFile), texts);
}

Workbook MainWindowWorkbook(const MainExportHeader& header, textio::FieldReader leafFile,
                            textio::FieldReader canopyFile, const OutputTexts& texts)
{
    std::vector<Cell> cells;
    cells.reserve(kTitleRow + 3 + 4 * spectral::kWavelengthCount);
    AddHeader(cells, header, texts);
    for (int i = 0; i < spectral::kWavelengthCount; ++i) {
        const int line = i + 1;  // both files hold one line per grid wavelength
        const RowNumber row = kFirstDataRow + i;
        ReadGridWavelength(leafFile, i, line);  // read, checked and not written
        const float leafRefl = ReadSinglePercent(leafFile, "leaf reflectance", line);
        const float leafTrans = ReadSinglePercent(leafFile, "leaf transmittance", line);
        const int wavelength = ReadGridWavelength(canopyFile, i, line);
        const float canopyRefl = ReadSinglePercent(canopyFile, "canopy reflectance", line);
        AddNumber(cells, row, 1, static_cast<float>(wavelength));
        AddNumber(cells, row, 2, leafRefl);
        AddNumber(cells, row, 3, leafTrans);
        AddNumber(cells, row, 4, canopyRefl);
    }
    ExpectFileEnd(leafFile, "421 lines");
    ExpectFileEnd(canopyFile, "421 lines");
    Workbook workbook;  // the cells moved in: a braced list of sheets would copy each of them
    workbook.sheets.push_back(Sheet{std::move(cells)});
    return workbook;
}

}  // namespace tulmera::exports
