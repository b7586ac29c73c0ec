#pragma once
#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// The words an export writes around its numbers, in one language, as a plain record: the
// windows fill it in their own language; the defaults are the Spanish texts the workbooks and
// files have always held, which the batch runner writes.
namespace tulmera::exports {

// The texts of the main window's workbook: rows 1 and 6, the captions before the values of
// rows 8 to 13, and the four column titles of row 14 (the symbols N, Ca+b, Cw, Cm and LAI are
// the same in every language).
struct MainWorkbookLabels {
    std::string leafModelTitle = "Parametros modelo PROSPECT";
    std::string canopyModelTitle = "Parametros modelo SAILH";
    std::string architecture = "Arquitectura Dosel: ";
    std::string soil = "Suelo:  ";  // two spaces
    std::string sunZenith = "Cenital Solar = ";
    std::string viewAngle = "Cenital obs. = ";
    std::string relAzimuth = "Acimutal Rel. = ";
    std::string hotSpot = "Hot Spot = ";
    std::array<std::string, 4> columnTitles = {"Long. Onda", "Reflec. Hoja", "Trans. Hoja",
                                               "Reflec. Dosel"};
};

// The words of a sweep block's header lines: the units that end its Cab and Cm lines and its
// line of column titles. The defaults are those the sweep file writes.
struct SweepHeaderTexts {
    std::string cabUnit = "u.g.cm-2";
    std::string cmUnit = "g.cm-2";
    std::string columnTitles = "Lon.onda    Reflectividad     Transmisividad";
};

// The names the outputs give the list texts they write (the leaf architectures and the
// soils), by the Spanish text that selects them; a text not listed is written as it stands.
using ListNames = std::map<std::string, std::string, std::less<>>;

struct OutputTexts {
    MainWorkbookLabels mainWorkbook;
    SweepHeaderTexts sweepHeader;
    ListNames lists;
};

// `key`'s name in `names`, or `key` itself when it has none.
std::string NameOf(const ListNames& names, std::string_view key);

}  // namespace tulmera::exports
