// The HDF5 form of a table (through the HDF5 C library), readable as it is by h5py, R's hdf5r
// and HDFView: datasets "parameters" (rows x 9, float64, attribute "names"), "reflectance"
// (rows x 421, float32, canopy reflectance as a fraction) and "wavelength" (421, float64, nm);
// the table settings as attributes of the root group. A table of the physical sky mix also has
// the attribute "sky_mix" ("physical"), a table with products the dataset "products" (rows x 5,
// float64, attribute "names": fAPAR, fCover, albedo_PAR, albedo_NIR, albedo_shortwave); other
// tables have neither, as before. A table of PROSPECT-D or PROSPECT-PRO has the attribute
// "leaf_model" ("prospect-d", "prospect-pro") and that model's columns (lut::TableColumns) in
// "parameters" and in the range attributes; a classic table has no such attribute.
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "canopy/sky_ratio.h"
#include "leaf/leaf_models.h"
#include "lut/hdf5_parts.h"
#include "lut/hdf5_trial.h"
#include "lut/table.h"
#include "lut/table_digest.h"
#include "textio/error.h"

namespace tulmera::lut::detail {
namespace {

constexpr std::string_view kMark = "tulmera look-up table";
constexpr int kVersion = 1;
constexpr const char* kDigestAttribute = "rows_digest";    // table_digest.h; since tables carry one
constexpr const char* kSkyMixAttribute = "sky_mix";        // only in tables of the physical mix
constexpr const char* kProductsDataset = "products";       // only in tables with products
constexpr const char* kLeafModelAttribute = "leaf_model";  // only in tables of a newer model

using hdf5::Handle;
using hdf5::SilenceLibrary;
using hdf5::Space;
using hdf5::StringType;
using hdf5::UntimedCreation;

// ---- Writing ----

class Hdf5Writer final : public TableWriter {
public:
    Hdf5Writer(std::filesystem::path file, const TableInfo& info)
        : target_(std::move(file)),
          info_(info),
          columns_(TableColumns(info.spec.leafModel)),
          digest_(info.spec.leafModel)
    {
        SilenceLibrary();
        fileId_ = H5Fcreate(target_.temporary().c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
        if (fileId_ < 0) Fail("cannot be created (does its folder exist and is it writable?)");
        try {
            WriteAttributes();
            parameters_ = CreateDataset("parameters", H5T_IEEE_F64LE, columns_.size());
            reflectance_ = CreateDataset("reflectance", H5T_IEEE_F32LE, spectral::kWavelengthCount);
            if (info.spec.products) {
                products_ = CreateDataset(kProductsDataset, H5T_IEEE_F64LE, kProductCount);
            }
            WriteNames();
            WriteWavelengths();
        } catch (...) {
            CloseAll();
            throw;
        }
    }
    ~Hdf5Writer() override { CloseAll(); }  // after Commit, nothing is left open

    void Append(const TableRows& rows) override
    {
        const std::uint64_t at = rows.firstRow - info_.firstRow;
        std::vector<double> columnValues(rows.Count() * columns_.size());
        for (std::size_t r = 0; r < rows.Count(); ++r) {
            for (std::size_t c = 0; c < columns_.size(); ++c) {
                columnValues[r * columns_.size() + c] =
                    rows.parameters[r * kParameterCount + static_cast<std::size_t>(columns_[c])];
            }
        }
        WriteRows(parameters_, H5T_NATIVE_DOUBLE, at, rows.Count(), columns_.size(),
                  columnValues.data());
        WriteRows(reflectance_, H5T_NATIVE_FLOAT, at, rows.Count(), spectral::kWavelengthCount,
                  rows.reflectance.data());
        if (products_ >= 0) {
            WriteRows(products_, H5T_NATIVE_DOUBLE, at, rows.Count(), kProductCount,
                      rows.products.data());
        }
        written_ += rows.Count();
        digest_.Add(rows);
    }

    void Commit() override
    {
        if (written_ != info_.rowCount) Fail("is incomplete");
        const std::uint64_t digest = digest_.Value();
        Attribute(fileId_, kDigestAttribute, H5T_STD_U64LE, H5T_NATIVE_UINT64, 0, &digest);
        CloseDatasets();
        const herr_t closed = H5Fclose(fileId_);
        fileId_ = -1;
        if (closed < 0) Fail("could not be written (is the disk full?)");
        target_.PutInPlace();
    }

private:
    [[noreturn]] void Fail(const std::string& problem) const { target_.Fail(problem); }

    // Closes what is open on the file; a close that fails (a full disk) leaks the handle.
    void CloseAll()
    {
        CloseDatasets();
        if (fileId_ >= 0) H5Fclose(fileId_);
        fileId_ = -1;
    }

    void CloseDatasets()
    {
        for (hid_t* id : {&parameters_, &reflectance_, &products_}) {
            if (*id >= 0) H5Dclose(*id);
            *id = -1;
        }
    }

    void Check(herr_t status, const char* what) const
    {
        if (status < 0) Fail(std::string("could not be written (") + what + ")");
    }

    void Attribute(hid_t on, const char* name, hid_t fileType, hid_t memType, hsize_t count,
                   const void* data) const
    {
        if (!hdf5::WriteAttribute(on, name, fileType, memType, count, data)) {
            Fail(std::string("could not be written (attribute ") + name + ")");
        }
    }

    void TextAttribute(hid_t on, const char* name, const std::string& text) const
    {
        if (!hdf5::WriteTextAttribute(on, name, text)) {
            Fail(std::string("could not be written (attribute ") + name + ")");
        }
    }

    void WriteAttributes() const
    {
        const TableSpec& spec = info_.spec;
        TextAttribute(fileId_, "format", std::string(kMark));
        Attribute(fileId_, "format_version", H5T_STD_I32LE, H5T_NATIVE_INT, 0, &kVersion);
        const std::array<std::uint64_t, 3> counts = {spec.samples, spec.seed, info_.firstRow};
        const std::array<const char*, 3> countNames = {"samples", "seed", "first_row"};
        for (std::size_t i = 0; i < counts.size(); ++i) {
            Attribute(fileId_, countNames[i], H5T_STD_U64LE, H5T_NATIVE_UINT64, 0, &counts[i]);
        }
        TextAttribute(fileId_, "sampling", std::string(SamplingName(spec.sampling)));
        TextAttribute(fileId_, "lidf", spec.leafArchitecture);
        TextAttribute(fileId_, "soil", spec.soil);
        const int km = canopy::VisibilityKm(spec.visibility);
        Attribute(fileId_, "visibility_km", H5T_STD_I32LE, H5T_NATIVE_INT, 0, &km);
        std::vector<double> lo, hi;
        std::vector<std::uint8_t> varies;
        for (const Parameter column : columns_) {
            const ParameterRange& range = spec.ranges[static_cast<std::size_t>(column)];
            lo.push_back(range.lo);
            hi.push_back(range.hi);
            varies.push_back(range.varies ? 1 : 0);
        }
        Attribute(fileId_, "range_low", H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, lo.size(), lo.data());
        Attribute(fileId_, "range_high", H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, hi.size(), hi.data());
        Attribute(fileId_, "range_varies", H5T_STD_U8LE, H5T_NATIVE_UINT8, varies.size(),
                  varies.data());
        if (spec.leafModel != leaf::LeafModel::Classic) {
            TextAttribute(fileId_, kLeafModelAttribute,
                          std::string(leaf::LeafModelName(spec.leafModel)));
        }
        if (spec.skyMix != canopy::SkyMix::Classic) {
            TextAttribute(fileId_, kSkyMixAttribute, std::string(canopy::SkyMixName(spec.skyMix)));
        }
    }

    hid_t CreateDataset(const char* name, hid_t type, hsize_t columns) const
    {
        const Handle space = Space({info_.rowCount, columns});
        const Handle creation = UntimedCreation();
        const hid_t dataset =
            H5Dcreate2(fileId_, name, type, space.get(), H5P_DEFAULT, creation.get(), H5P_DEFAULT);
        if (dataset < 0) Fail(std::string("could not be written (dataset ") + name + ")");
        return dataset;
    }

    void WriteNames() const
    {
        std::vector<const char*> names;
        for (const Parameter column : columns_) {
            names.push_back(kParameterNames[static_cast<std::size_t>(column)].data());
        }
        const Handle type = StringType();
        Attribute(parameters_, "names", type.get(), type.get(), names.size(), names.data());
        TextAttribute(reflectance_, "units", "fraction");
        if (products_ < 0) return;
        std::array<const char*, kProductCount> products{};
        for (std::size_t q = 0; q < kProductCount; ++q) products[q] = kProductNames[q].data();
        Attribute(products_, "names", type.get(), type.get(), kProductCount, products.data());
    }

    void WriteWavelengths() const
    {
        std::array<double, spectral::kWavelengthCount> nm{};
        for (std::size_t i = 0; i < nm.size(); ++i) {
            nm[i] = spectral::WavelengthNm(static_cast<int>(i));
        }
        const Handle space = Space({nm.size()});
        const Handle creation = UntimedCreation();
        const Handle dataset(H5Dcreate2(fileId_, "wavelength", H5T_IEEE_F64LE, space.get(),
                                        H5P_DEFAULT, creation.get(), H5P_DEFAULT),
                             H5Dclose);
        if (!dataset.ok()) Fail("could not be written (dataset wavelength)");
        Check(H5Dwrite(dataset.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, nm.data()),
              "wavelength");
        TextAttribute(dataset.get(), "units", "nm");
    }

    void WriteRows(hid_t dataset, hid_t memType, std::uint64_t at, std::size_t count,
                   hsize_t columns, const void* data) const
    {
        if (count == 0) return;
        const Handle fileSpace(H5Dget_space(dataset), H5Sclose);
        const std::array<hsize_t, 2> start = {at, 0}, size = {count, columns};
        Check(H5Sselect_hyperslab(fileSpace.get(), H5S_SELECT_SET, start.data(), nullptr,
                                  size.data(), nullptr),
              "rows");
        const Handle memSpace = Space({count, columns});
        Check(H5Dwrite(dataset, memType, memSpace.get(), fileSpace.get(), H5P_DEFAULT, data),
              "rows");
    }

    detail::TemporaryTableFile target_;  // first: removed after the handles are closed
    TableInfo info_;
    std::span<const Parameter> columns_;  // of the table's leaf model, in file order
    hid_t fileId_ = -1, parameters_ = -1, reflectance_ = -1, products_ = -1;
    std::uint64_t written_ = 0;
    RowDigest digest_;
};

// ---- Reading ----

// The file `file` opened for reading: from the disk or, given `image`, from those bytes in
// memory (the core driver), under the name `file`. -1 when HDF5 cannot open it.
hid_t OpenForReading(const std::filesystem::path& file, std::optional<std::string_view> image)
{
    SilenceLibrary();
    if (!image) return H5Fopen(file.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
    // Without an image the core driver would read the file of that name from the disk.
    if (image->empty()) return -1;
    const Handle access(H5Pcreate(H5P_FILE_ACCESS), H5Pclose);
    // The library copies the image: it is never written through this pointer.
    void* bytes = const_cast<char*>(image->data());
    if (H5Pset_fapl_core(access.get(), 1 << 16, false) < 0
        || H5Pset_file_image(access.get(), bytes, image->size()) < 0) {
        return -1;
    }
    return H5Fopen(file.c_str(), H5F_ACC_RDONLY, access.get());
}

class Hdf5Reader {
public:
    Hdf5Reader(const std::filesystem::path& file, std::optional<std::string_view> image)
        : file_(file), id_(OpenForReading(file, image), H5Fclose)
    {
        if (!id_.ok()) {
            std::error_code error;
            if (!image && !std::filesystem::exists(file, error)) {
                throw Error("The table \"" + file.string() + "\" does not exist.");
            }
            Fail("HDF5 cannot open it.");
        }
    }

    [[noreturn]] void Fail(const std::string& problem) const
    {
        throw Error("\"" + file_.string()
                    + "\" is not a look-up table of ours or is damaged: " + problem);
    }

    // A scalar or array attribute of the root group (or of `on`) with `count` values.
    void Read(const char* name, hid_t memType, hsize_t count, void* data, hid_t on = -1) const
    {
        const Handle attribute(H5Aopen(on < 0 ? id_.get() : on, name, H5P_DEFAULT), H5Aclose);
        if (!attribute.ok()) Fail(std::string("it has no attribute \"") + name + "\".");
        const Handle space(H5Aget_space(attribute.get()), H5Sclose);
        const hssize_t points = H5Sget_simple_extent_npoints(space.get());
        if (points != static_cast<hssize_t>(count == 0 ? 1 : count)) {
            Fail(std::string("its attribute \"") + name + "\" has the wrong size.");
        }
        if (H5Aread(attribute.get(), memType, data) < 0) {
            Fail(std::string("its attribute \"") + name + "\" cannot be read.");
        }
    }

    std::string Text(const char* name) const
    {
        const Handle type = StringType();
        char* value = nullptr;
        Read(name, type.get(), 0, &value);
        std::string text = value ? value : "";
        H5free_memory(value);
        return text;
    }

    // A damaged file may announce any number of rows: what is allocated for them must be what
    // the file can hold. Plain data takes its whole size in the file; compressed data (which
    // our tables never use, but a repacked copy might) at least a thousandth of it, deflate's
    // utmost ratio.
    void CheckStoredSize(hid_t dataset, const char* name, hsize_t rows, hsize_t columns,
                         std::size_t valueBytes) const
    {
        constexpr hsize_t kMostCompression = 1032;
        hsize_t fileBytes = 0;
        if (H5Fget_filesize(id_.get(), &fileBytes) < 0) fileBytes = 0;
        const hsize_t stored = H5Dget_storage_size(dataset);
        const Handle creation(H5Dget_create_plist(dataset), H5Pclose);
        const bool compressed = creation.ok() && H5Pget_nfilters(creation.get()) > 0;
        const hsize_t holds = stored > fileBytes ? 0 : stored * (compressed ? kMostCompression : 1);
        if (rows > holds / valueBytes / columns) {
            Fail(std::string("its dataset \"") + name
                 + "\" announces more rows than the file holds.");
        }
    }

    // Every value of a dataset is a number: our tables hold nothing else.
    template <typename T>
    void CheckFinite(const std::vector<T>& values, const char* name, std::size_t columns,
                     std::uint64_t firstRow) const
    {
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (std::isfinite(values[i])) continue;
            Fail(std::string("its dataset \"") + name
                 + "\" holds a value that is not a number in row "
                 + std::to_string(firstRow + i / columns) + ".");
        }
    }

    // The rows x columns values of a dataset, checking its shape.
    template <typename T>
    std::vector<T> Dataset(const char* name, hid_t memType, hsize_t columns, hsize_t& rows) const
    {
        const Handle dataset(H5Dopen2(id_.get(), name, H5P_DEFAULT), H5Dclose);
        if (!dataset.ok()) Fail(std::string("it has no dataset \"") + name + "\".");
        const Handle space(H5Dget_space(dataset.get()), H5Sclose);
        std::array<hsize_t, 2> dims{};
        if (H5Sget_simple_extent_ndims(space.get()) != 2
            || H5Sget_simple_extent_dims(space.get(), dims.data(), nullptr) != 2
            || dims[1] != columns) {
            Fail(std::string("its dataset \"") + name + "\" has the wrong shape.");
        }
        rows = dims[0];
        CheckStoredSize(dataset.get(), name, rows, columns, sizeof(T));
        std::vector<T> values(dims[0] * dims[1]);
        if (!values.empty()
            && H5Dread(dataset.get(), memType, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data()) < 0) {
            Fail(std::string("its dataset \"") + name + "\" cannot be read (truncated?).");
        }
        return values;
    }

    Table Load() const
    {
        if (Text("format") != kMark) Fail("its \"format\" attribute is not ours.");
        int version = 0;
        Read("format_version", H5T_NATIVE_INT, 0, &version);
        if (version != kVersion) Fail("its format version is not one this program reads.");
        Table table;
        TableSpec& spec = table.info.spec;
        Read("samples", H5T_NATIVE_UINT64, 0, &spec.samples);
        Read("seed", H5T_NATIVE_UINT64, 0, &spec.seed);
        Read("first_row", H5T_NATIVE_UINT64, 0, &table.info.firstRow);
        const std::string sampling = Text("sampling");
        if (sampling != "lhs" && sampling != "uniform") Fail("unknown sampling.");
        spec.sampling = sampling == "lhs" ? Sampling::LatinHypercube : Sampling::Uniform;
        spec.leafArchitecture = Text("lidf");
        spec.soil = Text("soil");
        int km = 0;
        Read("visibility_km", H5T_NATIVE_INT, 0, &km);
        if (km != 15 && km != 50) Fail("unknown visibility.");
        spec.visibility = km == 15 ? canopy::Visibility::Km15 : canopy::Visibility::Km50;
        if (H5Aexists(id_.get(), kLeafModelAttribute) > 0) {
            const std::optional<leaf::LeafModel> model =
                leaf::ParseLeafModel(Text(kLeafModelAttribute));
            // "classic" is never written: a table that names it was not written by us.
            if (!model || *model == leaf::LeafModel::Classic) Fail("unknown leaf model.");
            spec.leafModel = *model;
        }
        const std::span<const Parameter> columns = TableColumns(spec.leafModel);
        std::vector<double> lo(columns.size()), hi(columns.size());
        std::vector<std::uint8_t> varies(columns.size());
        Read("range_low", H5T_NATIVE_DOUBLE, columns.size(), lo.data());
        Read("range_high", H5T_NATIVE_DOUBLE, columns.size(), hi.data());
        Read("range_varies", H5T_NATIVE_UINT8, columns.size(), varies.data());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const auto p = static_cast<std::size_t>(columns[c]);
            if (!std::isfinite(lo[c]) || !std::isfinite(hi[c])) {
                Fail("its range of " + std::string(kParameterNames[p]) + " is not a number.");
            }
            spec.ranges[p] = {lo[c], hi[c], varies[c] != 0};
        }
        hsize_t parameterRows = 0, reflectanceRows = 0;
        const std::vector<double> columnValues =
            Dataset<double>("parameters", H5T_NATIVE_DOUBLE, columns.size(), parameterRows);
        table.rows.parameters.assign(parameterRows * kParameterCount, 0.0);
        for (std::size_t r = 0; r < parameterRows; ++r) {
            for (std::size_t c = 0; c < columns.size(); ++c) {
                table.rows.parameters[r * kParameterCount + static_cast<std::size_t>(columns[c])] =
                    columnValues[r * columns.size() + c];
            }
        }
        table.rows.reflectance = Dataset<float>("reflectance", H5T_NATIVE_FLOAT,
                                                spectral::kWavelengthCount, reflectanceRows);
        if (parameterRows != reflectanceRows) Fail("its datasets differ in their number of rows.");
        if (H5Aexists(id_.get(), kSkyMixAttribute) > 0) {
            const std::optional<canopy::SkyMix> mix = canopy::ParseSkyMix(Text(kSkyMixAttribute));
            // "classic" is never written: a table that names it was not written by us.
            if (!mix || *mix == canopy::SkyMix::Classic) Fail("unknown sky mix.");
            spec.skyMix = *mix;
        }
        if (H5Lexists(id_.get(), kProductsDataset, H5P_DEFAULT) > 0) {
            hsize_t productRows = 0;
            table.rows.products =
                Dataset<double>(kProductsDataset, H5T_NATIVE_DOUBLE, kProductCount, productRows);
            if (productRows != parameterRows) Fail("its datasets differ in their number of rows.");
            spec.products = true;
        }
        table.info.rowCount = parameterRows;
        table.rows.firstRow = table.info.firstRow;
        // Written without a sum, which a damaged first row could make overflow.
        if (table.info.rowCount > spec.samples
            || table.info.firstRow > spec.samples - table.info.rowCount) {
            Fail("it holds rows beyond its table's samples.");
        }
        CheckFinite(columnValues, "parameters", columns.size(), table.info.firstRow);
        CheckFinite(table.rows.reflectance, "reflectance", spectral::kWavelengthCount,
                    table.info.firstRow);
        CheckFinite(table.rows.products, kProductsDataset, kProductCount, table.info.firstRow);
        if (H5Aexists(id_.get(), kDigestAttribute) > 0) {  // absent in older tables
            std::uint64_t digest = 0;
            Read(kDigestAttribute, H5T_NATIVE_UINT64, 0, &digest);
            table.digest = digest;
            if (digest != DigestOf(table.rows, spec.leafModel)) {
                Fail("its rows do not match its digest: it was edited or damaged.");
            }
        }
        return table;
    }

private:
    std::filesystem::path file_;
    Handle id_;
};

}  // namespace

std::unique_ptr<TableWriter> OpenHdf5Writer(const std::filesystem::path& file,
                                            const TableInfo& info)
{
    return std::make_unique<Hdf5Writer>(file, info);
}

Table LoadHdf5(const std::filesystem::path& file)
{
    // The user's file: read first in a child, which a fault of the HDF5 library may end.
    hdf5::RequireSafeToRead(file, [&] { Hdf5Reader(file, {}).Load(); });
    return Hdf5Reader(file, {}).Load();
}

Table LoadHdf5Image(std::string_view image, const std::filesystem::path& file)
{
    return Hdf5Reader(file, image).Load();
}

}  // namespace tulmera::lut::detail
