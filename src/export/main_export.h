#pragma once
#include <string>
#include <vector>

#include "export/output_texts.h"
#include "export/workbook.h"
#include "leaf/leaf_parameters.h"
#include "textio/field_reader.h"

namespace tulmera::exports {

// The header values of the main window's export.
struct MainExportHeader {
    leaf::LeafParameters leaf;  // the current leaf parameters
    double lai;                 // leaf area index of the last canopy run
    double sunZenith;           // sun zenith angle of the last canopy run, degrees
    double hotSpot;             // hot-spot parameter of the last canopy run
    std::string architecture;   // text of the leaf-architecture list, cmbSailh(0)
    std::string soil;           // text of the soil list, cmbSailh(1)
    std::string viewText;       // current text of the view angle box, txtSailh(2)
    std::string azimuthText;    // current text of the relative azimuth box, txtSailh(3)
};

// The main window's export, a workbook of one sheet: rows 1 to 13 the parameters as texts
// (captions from texts.mainWorkbook, the architecture and soil named by texts.lists), row 14
// the four column titles, rows 15 to 435 one grid wavelength each (400 nm first) with
// the wavelength, then leaf reflectance, leaf transmittance and canopy reflectance in percent
// as single-precision numbers. Reads "VP.dat" and "VS.dat" of the current directory whole; the
// wavelength written is the one of "VS.dat". Throws tulmera::Error naming the file and the
// line when either is missing, short, longer than 421 lines or malformed, or when a header
// number is not finite.
Workbook MainWindowWorkbook(const MainExportHeader& header, const OutputTexts& texts = {});

// The same from the contents of "VP.dat" in `leafFile` and "VS.dat" in `canopyFile`.
Workbook MainWindowWorkbook(const MainExportHeader& header, textio::FieldReader leafFile,
                            textio::FieldReader canopyFile, const OutputTexts& texts = {});

}  // namespace tulmera::exports
