#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <span>

#include "arguments.h"
#include "interruptible.h"
#include "leaf/leaf_models.h"
#include "lut/canopy_refine.h"
#include "lut/lut_fit.h"
#include "lut/table.h"
#include "lut/table_run.h"
#include "module_parts.h"
#include "results.h"
#include "spectrum_argument.h"
#include "table_arguments.h"
#include "textio/error.h"

namespace tulmera::python {
namespace {

// A table in memory, shared by the arrays that view it.
struct TableObject {
    std::shared_ptr<const lut::Table> table;
};

// A file that cannot be read or written: OSError, as Python's own file functions raise.
[[noreturn]] void RaiseOsError(const std::string& message)
{
    PyErr_SetString(PyExc_OSError, message.c_str());
    throw py::error_already_set();
}

// A read-only numpy view of `data` (shape rows x columns) that keeps `owner` alive.
template <typename T>
py::array ReadOnlyView(const T* data, std::size_t rows, std::size_t columns, py::handle owner)
{
    py::array_t<T> view({static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(columns)}, data,
                        owner);
    view.attr("flags").attr("writeable") = false;
    return view;
}

TableObject Lut(const py::object& samples, const py::object& ranges, const py::object& seed,
                const std::string& sampling, const py::object& out, const py::object& threads,
                const py::object& N, const py::object& Cab, const py::object& Cw,
                const py::object& Cm, const py::object& lai, const py::object& sun,
                const py::object& view, const py::object& azimuth, const py::object& hotspot,
                const std::string& lidf, const std::string& soil, const py::object& visibility,
                const std::string& model, const py::kwargs& pigments)
{
    lut::TableSpec spec = HeldSpecOf(HeldLeafOf(N, Cab, Cw, Cm, model, pigments), lai, sun, view,
                                     azimuth, hotspot, lidf, soil, visibility, "classic");
    spec.samples =
        WholeOf("samples", samples, 1, std::numeric_limits<int>::max(), "from 1 to 2147483646");
    spec.seed = WholeOf("seed", seed, 0, kLargestSeed, "from 0 to 999999999999999");
    if (sampling == "lhs") {
        spec.sampling = lut::Sampling::LatinHypercube;
    } else if (sampling == "uniform") {
        spec.sampling = lut::Sampling::Uniform;
    } else {
        throw py::value_error("sampling \"" + sampling + "\" is not a sampling; use \"lhs\" or "
                              "\"uniform\".");
    }
    ReadRanges(ranges, spec);
    std::optional<std::string> file;
    if (!out.is_none()) {
        file = py::str(py::module_::import("os").attr("fspath")(out)).cast<std::string>();
        if (!lut::FormatOf(*file)) {
            throw py::value_error("out \"" + *file + "\": a table is written as FILE.h5 (HDF5) "
                                  "or FILE.csv.");
        }
    }
    const int threadCount = ThreadCount(threads);
    auto table = std::make_shared<lut::Table>();
    table->info = {spec, 0, spec.samples};
    RunInterruptibly([&](const std::atomic<bool>* cancel) {
        try {
            table->rows = lut::ComputeTableRows(spec, threadCount, cancel);
        } catch (const Error& e) {
            throw py::value_error(e.what());
        }
    });
    if (file) {
        std::optional<std::string> failure;
        {
            const py::gil_scoped_release released;
            try {
                const auto writer = lut::OpenTableWriter(*file, table->info);
                writer->Append(table->rows);
                writer->Commit();
            } catch (const Error& e) {
                failure = e.what();
            }
        }
        if (failure) RaiseOsError(*failure);
    }
    return {table};
}

TableObject ReadTable(const py::object& path)
{
    const std::string file = py::str(py::module_::import("os").attr("fspath")(path));
    std::shared_ptr<lut::Table> table;
    std::optional<std::string> failure;
    {
        const py::gil_scoped_release released;
        try {
            table = std::make_shared<lut::Table>(lut::LoadTable(file));
        } catch (const Error& e) {
            failure = e.what();
        }
    }
    if (failure) RaiseOsError(*failure);
    return {table};
}

const lut::Table& TableOf(const py::object& table, std::shared_ptr<const lut::Table>& keep)
{
    if (py::isinstance<TableObject>(table)) {
        keep = table.cast<const TableObject&>().table;
    } else if (py::isinstance<py::str>(table) || py::hasattr(table, "__fspath__")) {
        keep = ReadTable(table).table;
    } else {
        throw py::value_error(
            "table must be a Table (lut(), read_table()) or a table file's path.");
    }
    return *keep;
}

// The values of the columns of a table of `model`, by name.
py::dict ByName(leaf::LeafModel model, const lut::ParameterValues& values)
{
    py::dict named;
    for (const lut::Parameter column : lut::TableColumns(model)) {
        const auto p = static_cast<std::size_t>(column);
        named[std::string(lut::kParameterNames[p]).c_str()] = values[p];
    }
    return named;
}

// A table's parameters, its columns in their order: a read-only view of a classic table's rows
// (the first columns of each stored row), a copy for another leaf model's.
py::array ParameterColumns(const lut::Table& table, py::handle owner)
{
    const lut::TableRows& rows = table.rows;
    const std::span<const lut::Parameter> columns = lut::TableColumns(table.info.spec.leafModel);
    const auto rowCount = static_cast<py::ssize_t>(rows.Count());
    const auto columnCount = static_cast<py::ssize_t>(columns.size());
    if (table.info.spec.leafModel == leaf::LeafModel::Classic) {
        py::array_t<double> view({rowCount, columnCount},
                                 {static_cast<py::ssize_t>(lut::kParameterCount * sizeof(double)),
                                  static_cast<py::ssize_t>(sizeof(double))},
                                 rows.parameters.data(), owner);
        view.attr("flags").attr("writeable") = false;
        return view;
    }
    py::array_t<double> copy({rowCount, columnCount});
    auto out = copy.mutable_unchecked<2>();
    for (py::ssize_t r = 0; r < rowCount; ++r) {
        for (py::ssize_t c = 0; c < columnCount; ++c) {
            out(r, c) = rows.parameters[static_cast<std::size_t>(r) * lut::kParameterCount
                                        + static_cast<std::size_t>(columns[c])];
        }
    }
    copy.attr("flags").attr("writeable") = false;
    return copy;
}

// What fit_canopy() returns for each spectrum.
struct CanopyFit {
    py::dict mean, sd;
    double rmseBest = 0;
    py::list bestRows, bestRmse;
    py::object refined = py::none(), rmseRefined = py::none();
    int wavelengthsCompared = 0;
};

py::object FitCanopy(const py::object& reflectance, const py::object& tableArgument,
                     const py::object& best, bool excludeWater, bool refine,
                     const py::object& threads)
{
    std::shared_ptr<const lut::Table> keep;
    const lut::Table& table = TableOf(tableArgument, keep);
    const std::size_t rowCount = table.rows.Count();
    const auto bestCount =
        static_cast<int>(WholeOf("best", best, 1, static_cast<double>(rowCount) + 1,
                                 "from 1 to the table's rows (" + std::to_string(rowCount) + ")"));
    const SpectraArgument spectra = ToSpectra("reflectance", reflectance, true);
    const int threadCount = ThreadCount(threads);
    py::list results;
    for (std::size_t row = 0; row < spectra.rows; ++row) {
        const measured::GridValues measured = GridValuesOf(spectra, row, "reflectance");
        lut::CanopyFitResult fit;
        std::optional<lut::RefinedCanopyFit> refined;
        RunRows(
            1, 1,
            [&](std::size_t) {
                fit = lut::FitCanopy(table.rows, measured, {bestCount, excludeWater, threadCount});
                if (refine) {
                    refined =
                        lut::RefineCanopyFit(table.info.spec, measured, fit.mean, excludeWater);
                }
            },
            [](std::size_t) { return std::string(); });
        CanopyFit result;
        const leaf::LeafModel model = table.info.spec.leafModel;
        result.mean = ByName(model, fit.mean);
        for (const lut::Parameter column : lut::TableColumns(model)) {
            const auto p = static_cast<std::size_t>(column);
            result.sd[std::string(lut::kParameterNames[p]).c_str()] =
                fit.sd[p] ? py::object(py::float_(*fit.sd[p])) : py::object(py::none());
        }
        result.rmseBest = fit.bestRmsePercent.front();
        for (std::size_t k = 0; k < fit.bestRows.size(); ++k) {
            result.bestRows.append(fit.bestRows[k]);
            result.bestRmse.append(fit.bestRmsePercent[k]);
        }
        if (refined) {
            result.refined = ByName(model, refined->values);
            result.rmseRefined = py::float_(refined->rmsePercent);
        }
        result.wavelengthsCompared = fit.wavelengthsCompared;
        results.append(result);
    }
    if (spectra.shape.empty()) return results[0];
    return results;
}

void DefineTable(py::module_& m)
{
    py::class_<TableObject>(m, "Table",
                            "A look-up table: its rows' parameters and canopy reflectances, and "
                            "what it holds fixed.")
        .def_property_readonly(
            "parameters",
            [](py::object self) {
                return ParameterColumns(*self.cast<const TableObject&>().table, self);
            },
            "float64 array (rows, columns), columns in the order of names (9 for the "
            "classic leaf model)")
        .def_property_readonly(
            "reflectance",
            [](py::object self) {
                const lut::TableRows& rows = self.cast<const TableObject&>().table->rows;
                return ReadOnlyView(rows.reflectance.data(), rows.Count(),
                                    spectral::kWavelengthCount, self);
            },
            "float32 array (rows, 421): the canopy reflectance as the table files store it")
        .def_property_readonly(
            "names",
            [](const TableObject& t) {
                const auto columns = lut::TableColumns(t.table->info.spec.leafModel);
                py::tuple names(columns.size());
                for (std::size_t c = 0; c < columns.size(); ++c) {
                    names[c] =
                        std::string(lut::kParameterNames[static_cast<std::size_t>(columns[c])]);
                }
                return names;
            })
        .def_property_readonly(
            "leaf_model",
            [](const TableObject& t) {
                return std::string(leaf::LeafModelName(t.table->info.spec.leafModel));
            },
            "the leaf model of every row: \"classic\", \"prospect-d\" or \"prospect-pro\"")
        .def(
            "__getitem__",
            [](py::object self, const std::string& name) {
                const lut::Table& table = *self.cast<const TableObject&>().table;
                const std::size_t p = ParameterIndex(name, table.info.spec.leafModel);
                const lut::TableRows& rows = table.rows;
                py::array_t<double> column(
                    {static_cast<py::ssize_t>(rows.Count())},
                    {static_cast<py::ssize_t>(lut::kParameterCount * sizeof(double))},
                    rows.parameters.data() + p, self);
                column.attr("flags").attr("writeable") = false;
                return column;
            },
            "one parameter's column, a read-only view")
        .def("__len__", [](const TableObject& t) { return t.table->rows.Count(); })
        .def_property_readonly("first_row",
                               [](const TableObject& t) { return t.table->info.firstRow; })
        .def_property_readonly("samples",
                               [](const TableObject& t) { return t.table->info.spec.samples; })
        .def_property_readonly("seed", [](const TableObject& t) { return t.table->info.spec.seed; })
        .def_property_readonly(
            "sampling",
            [](const TableObject& t) {
                return std::string(lut::SamplingName(t.table->info.spec.sampling));
            })
        .def_property_readonly(
            "ranges",
            [](const TableObject& t) {
                py::dict ranges;
                const auto& spec = t.table->info.spec;
                for (const lut::Parameter column : lut::TableColumns(spec.leafModel)) {
                    const auto p = static_cast<std::size_t>(column);
                    if (!spec.ranges[p].varies) continue;
                    ranges[std::string(lut::kParameterNames[p]).c_str()] =
                        py::make_tuple(spec.ranges[p].lo, spec.ranges[p].hi);
                }
                return ranges;
            },
            "the varying parameters: name -> (lo, hi)")
        .def_property_readonly(
            "held",
            [](const TableObject& t) {
                py::dict held;
                const auto& spec = t.table->info.spec;
                for (const lut::Parameter column : lut::TableColumns(spec.leafModel)) {
                    const auto p = static_cast<std::size_t>(column);
                    if (spec.ranges[p].varies) continue;
                    held[std::string(lut::kParameterNames[p]).c_str()] = spec.ranges[p].lo;
                }
                return held;
            },
            "the held parameters: name -> value")
        .def_property_readonly(
            "lidf", [](const TableObject& t) { return t.table->info.spec.leafArchitecture; })
        .def_property_readonly("soil", [](const TableObject& t) { return t.table->info.spec.soil; })
        .def_property_readonly("visibility",
                               [](const TableObject& t) {
                                   return canopy::VisibilityKm(t.table->info.spec.visibility);
                               })
        .def("__repr__", [](const TableObject& t) {
            return "<tulmera.Table " + std::to_string(t.table->rows.Count()) + " rows>";
        });
}

}  // namespace

void DefineTables(py::module_& m)
{
    DefineTable(m);
    m.def("lut", &Lut, py::arg("samples"), py::arg("ranges") = py::none(), py::kw_only(),
          py::arg("seed") = 0, py::arg("sampling") = "lhs", py::arg("out") = py::none(),
          py::arg("threads") = py::none(), py::arg("N") = 1.5, py::arg("Cab") = 40.0,
          py::arg("Cw") = 0.01, py::arg("Cm") = py::none(), py::arg("lai") = 3.0,
          py::arg("sun") = 30.0, py::arg("view") = 0.0, py::arg("azimuth") = 0.0,
          py::arg("hotspot") = 0.1, py::arg("lidf") = "spherical", py::arg("soil") = "S1",
          py::arg("visibility") = 15.0, py::arg("model") = "classic",
          "lut(samples, ranges=None, *, seed=0, sampling=\"lhs\", out=None, threads=None,\n"
          "    N=1.5, Cab=40, Cw=0.01, Cm=0.009, lai=3, sun=30, view=0, azimuth=0,\n"
          "    hotspot=0.1, lidf=\"spherical\", soil=\"S1\", visibility=15,\n"
          "    model=\"classic\", **pigments) -> Table\n\n"
          "A look-up table of `samples` leaf + canopy simulations, the rows tulmera-batch lut\n"
          "computes for the same settings: the parameters of `ranges` (a dict such as\n"
          "{\"LAI\": (0.1, 8), \"Cab\": (5, 90)}; names N, Cab, Cw, Cm, LAI, sun, view,\n"
          "azimuth, hotspot, and for model=\"prospect-d\" or \"prospect-pro\" Car, Anth,\n"
          "Cbrown and Prot, CBC in place of Cm) drawn by Latin hypercube (\"lhs\") or uniformly "
          "from `seed`, the\n"
          "others held at the keyword values. Computed in memory on `threads` threads with\n"
          "the GIL released; with out=\"FILE.h5\" or \"FILE.csv\" also written to that file,\n"
          "whole or not at all (OSError when it cannot be written). Raises ValueError for a\n"
          "range outside the models' domain or an unknown name.");
    m.def("read_table", &ReadTable, py::arg("path"),
          "read_table(path) -> Table\n\n"
          "A table file written by lut() or tulmera-batch lut (.h5 or .csv). Raises OSError\n"
          "naming the file when it is missing, not one of ours or damaged.");

    py::class_<CanopyFit>(m, "CanopyFit", "The answer of fit_canopy() for one spectrum.")
        .def_readonly("mean", &CanopyFit::mean, "the best rows' mean parameters, by name")
        .def_readonly("sd", &CanopyFit::sd, "their sample SD (None for best=1), by name")
        .def_readonly("rmse_best", &CanopyFit::rmseBest, "the best row's RMSE, percent")
        .def_readonly("best_rows", &CanopyFit::bestRows, "the best rows' indexes, best first")
        .def_readonly("best_rmse", &CanopyFit::bestRmse, "their RMSEs, percent")
        .def_readonly("refined", &CanopyFit::refined,
                      "with refine=True, the parameters adjusted by least squares (else None)")
        .def_readonly("rmse_refined", &CanopyFit::rmseRefined, "their RMSE, percent")
        .def_readonly("wavelengths_compared", &CanopyFit::wavelengthsCompared)
        .def("__repr__", [](const CanopyFit& f) {
            return "<tulmera.CanopyFit LAI=" + ValueText(f.mean["LAI"].cast<double>())
                   + " rmse_best=" + ValueText(f.rmseBest) + ">";
        });
    m.def("fit_canopy", &FitCanopy, py::arg("reflectance"), py::arg("table"), py::kw_only(),
          py::arg("best") = 20, py::arg("exclude_water") = false, py::arg("refine") = false,
          py::arg("threads") = py::none(),
          "fit_canopy(reflectance, table, *, best=20, exclude_water=False, refine=False,\n"
          "           threads=None) -> CanopyFit | list\n\n"
          "The canopy parameters of a measured reflectance (fractions on the grid, NaN where\n"
          "not measured) from a look-up table (a Table or a table file's path), as\n"
          "tulmera-batch fit-canopy finds them: the mean of the `best` rows of lowest RMSE,\n"
          "leaving out 1340-1450 and 1800-1960 nm with exclude_water; with refine, also the\n"
          "varying parameters adjusted by least squares. An array of spectra (n, 421) gives\n"
          "a list.");
}

}  // namespace tulmera::python
