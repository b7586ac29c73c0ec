// The HDF5 form of an analysis's indices, readable as it is by h5py, R's hdf5r and HDFView: the
// long form as one dataset per column, "quantity" and "parameter" (texts) and "S1", "S1_low",
// "S1_high", "ST", "ST_low", "ST_high" (float64), with "defined" (uint8) 0 on the lines of a
// quantity without indices, whose six numbers are then 0 and mean nothing. The run's settings
// are attributes of the root group: "settings" (the text of the CSV's first line) and each
// setting apart ("samples", "seed", "bootstrap", "visibility" as numbers; "quantity", "lidf",
// "soil" and, when not the defaults, "sky_mix" and "leaf_model" as texts; the inputs as
// "input_names", "range_low", "range_high" and "range_varies").
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "gsa/gsa_files.h"
#include "lut/hdf5_parts.h"
#include "lut/hdf5_trial.h"
#include "textio/error.h"
#include "textio/number_text.h"
#include "textio/split_text.h"
#include "textio/staged_files.h"

namespace tulmera::gsa::detail {
namespace {

using lut::hdf5::Handle;

constexpr const char* kMark = "tulmera sensitivity analysis";
constexpr int kVersion = 1;
constexpr std::array<const char*, 6> kNumberColumns = {"S1", "S1_low", "S1_high",
                                                       "ST", "ST_low", "ST_high"};
constexpr std::array<std::string_view, 4> kWholeSettings = {"samples", "seed", "bootstrap",
                                                            "visibility"};

class IndicesWriter {
public:
    IndicesWriter(const std::filesystem::path& file, std::size_t lines)
        : file_(file), temporary_(staged_.Reserve(file.string())), lines_(lines)
    {
        lut::hdf5::SilenceLibrary();
        id_ = H5Fcreate(temporary_.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
        if (id_ < 0) Fail("cannot be created (does its folder exist and is it writable?)");
    }
    ~IndicesWriter()
    {
        if (id_ >= 0) H5Fclose(id_);  // before staged_ removes the temporary file
    }
    IndicesWriter(const IndicesWriter&) = delete;
    IndicesWriter& operator=(const IndicesWriter&) = delete;

    [[noreturn]] void Fail(const std::string& problem) const
    {
        throw Error("The analysis \"" + file_.string() + "\" (temporary \"" + temporary_ + "\") "
                    + problem + ".");
    }

    void Check(bool written, const std::string& what) const
    {
        if (!written) Fail("could not be written (" + what + ")");
    }

    void Settings(const std::string& settings) const
    {
        Check(lut::hdf5::WriteTextAttribute(id_, "format", kMark), "format");
        Check(lut::hdf5::WriteAttribute(id_, "format_version", H5T_STD_I32LE, H5T_NATIVE_INT, 0,
                                        &kVersion),
              "format_version");
        Check(lut::hdf5::WriteTextAttribute(id_, "settings", settings), "settings");
        std::vector<std::string> names;
        std::vector<double> low, high;
        std::vector<std::uint8_t> varies;
        for (const std::string_view item : textio::SplitText(settings, "; ")) {
            const std::size_t equals = item.find('=');
            const std::string key(item.substr(0, equals));
            const std::string_view value = item.substr(equals + 1);
            if (InputNamed(key)) {
                const std::vector<std::string_view> ends = textio::SplitText(value, ":");
                names.push_back(key);
                low.push_back(textio::ParseNumberText(ends.front()).value_or(0));
                high.push_back(textio::ParseNumberText(ends.back()).value_or(0));
                varies.push_back(ends.size() == 2 ? 1 : 0);
            } else if (std::ranges::find(kWholeSettings, key) != kWholeSettings.end()) {
                const auto number =
                    static_cast<std::uint64_t>(textio::ParseNumberText(value).value_or(0));
                Check(lut::hdf5::WriteAttribute(id_, key.c_str(), H5T_STD_U64LE, H5T_NATIVE_UINT64,
                                                0, &number),
                      key);
            } else {
                Check(lut::hdf5::WriteTextAttribute(id_, key.c_str(), std::string(value)), key);
            }
        }
        Check(lut::hdf5::WriteTextsAttribute(id_, "input_names", names), "input_names");
        Check(lut::hdf5::WriteAttribute(id_, "range_low", H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE,
                                        low.size(), low.data()),
              "range_low");
        Check(lut::hdf5::WriteAttribute(id_, "range_high", H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE,
                                        high.size(), high.data()),
              "range_high");
        Check(lut::hdf5::WriteAttribute(id_, "range_varies", H5T_STD_U8LE, H5T_NATIVE_UINT8,
                                        varies.size(), varies.data()),
              "range_varies");
    }

    void Column(const char* name, hid_t fileType, hid_t memType, const void* data) const
    {
        const Handle space = lut::hdf5::Space({lines_});
        const Handle creation = lut::hdf5::UntimedCreation();
        const Handle dataset(
            H5Dcreate2(id_, name, fileType, space.get(), H5P_DEFAULT, creation.get(), H5P_DEFAULT),
            H5Dclose);
        Check(
            dataset.ok()
                && (lines_ == 0
                    || H5Dwrite(dataset.get(), memType, H5S_ALL, H5S_ALL, H5P_DEFAULT, data) >= 0),
            std::string("dataset ") + name);
    }

    void TextColumn(const char* name, const std::vector<const char*>& texts) const
    {
        const Handle type = lut::hdf5::StringType();
        Column(name, type.get(), type.get(), texts.data());
    }

    void Commit()
    {
        const herr_t closed = H5Fclose(id_);
        id_ = -1;
        if (closed < 0) Fail("could not be written (is the disk full?)");
        try {
            staged_.Publish();
        } catch (const Error& e) {
            throw Error("The analysis \"" + file_.string()
                        + "\" could not be put in place: " + e.what());
        }
    }

private:
    std::filesystem::path file_;
    textio::StagedFiles staged_;  // before id_: the file is closed before its removal
    std::string temporary_;
    hsize_t lines_;
    hid_t id_ = -1;
};

// Reading.
class IndicesReader {
public:
    explicit IndicesReader(const std::filesystem::path& file)
        : file_(file),
          id_((lut::hdf5::SilenceLibrary(), H5Fopen(file.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT)),
              H5Fclose)
    {
        if (!id_.ok()) {
            std::error_code error;
            if (!std::filesystem::exists(file, error)) {
                throw Error("The analysis \"" + file.string() + "\" does not exist.");
            }
            Fail("HDF5 cannot open it.");
        }
    }

    [[noreturn]] void Fail(const std::string& problem) const
    {
        throw Error("\"" + file_.string()
                    + "\" is not a sensitivity analysis of ours or is damaged: " + problem);
    }

    std::string Text(const char* name) const
    {
        const std::optional<std::string> text = lut::hdf5::ReadTextAttribute(id_.get(), name);
        if (!text) Fail(std::string("it has no text attribute \"") + name + "\".");
        return *text;
    }

    // A one-dimensional dataset of `lines` values (lines is set by the first column read).
    template <typename T>
    std::vector<T> Column(const char* name, hid_t memType, std::optional<hsize_t>& lines) const
    {
        const Handle dataset(H5Dopen2(id_.get(), name, H5P_DEFAULT), H5Dclose);
        if (!dataset.ok()) Fail(std::string("it has no dataset \"") + name + "\".");
        const Handle space(H5Dget_space(dataset.get()), H5Sclose);
        hsize_t count = 0;
        if (H5Sget_simple_extent_ndims(space.get()) != 1
            || H5Sget_simple_extent_dims(space.get(), &count, nullptr) != 1
            || (lines && *lines != count)) {
            Fail(std::string("its dataset \"") + name + "\" has the wrong shape.");
        }
        lines = count;
        std::vector<T> values(count);
        if (count > 0
            && H5Dread(dataset.get(), memType, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data()) < 0) {
            Fail(std::string("its dataset \"") + name + "\" cannot be read (truncated?).");
        }
        return values;
    }

    std::vector<std::string> TextColumn(const char* name, std::optional<hsize_t>& lines) const
    {
        const Handle type = lut::hdf5::StringType();
        std::vector<char*> raw = Column<char*>(name, type.get(), lines);
        std::vector<std::string> texts;
        for (char* text : raw) {
            texts.emplace_back(text ? text : "");
            H5free_memory(text);
        }
        return texts;
    }

    IndicesFile Load() const
    {
        if (Text("format") != kMark) Fail("its \"format\" attribute is not ours.");
        int version = 0;
        const Handle attribute(H5Aopen(id_.get(), "format_version", H5P_DEFAULT), H5Aclose);
        if (!attribute.ok() || H5Aread(attribute.get(), H5T_NATIVE_INT, &version) < 0
            || version != kVersion) {
            Fail("its format version is not one this program reads.");
        }
        IndicesFile file{Text("settings"), {}};
        std::optional<hsize_t> lines;
        const std::vector<std::string> quantities = TextColumn("quantity", lines);
        const std::vector<std::string> parameters = TextColumn("parameter", lines);
        const std::vector<std::uint8_t> defined =
            Column<std::uint8_t>("defined", H5T_NATIVE_UINT8, lines);
        std::array<std::vector<double>, kNumberColumns.size()> numbers;
        for (std::size_t c = 0; c < numbers.size(); ++c)
            numbers[c] = Column<double>(kNumberColumns[c], H5T_NATIVE_DOUBLE, lines);
        for (std::size_t l = 0; l < quantities.size(); ++l) {
            IndicesLine line{quantities[l], parameters[l], {}, {}, {}, {}, {}, {}};
            if (defined[l] != 0) {
                std::optional<double>* fields[] = {&line.S1, &line.S1_low, &line.S1_high,
                                                   &line.ST, &line.ST_low, &line.ST_high};
                for (std::size_t c = 0; c < numbers.size(); ++c) {
                    if (!std::isfinite(numbers[c][l])) {
                        Fail("line " + std::to_string(l + 1) + " holds a value that is not a "
                             + "finite number.");
                    }
                    *fields[c] = numbers[c][l];
                }
            }
            file.lines.push_back(std::move(line));
        }
        return file;
    }

private:
    std::filesystem::path file_;
    Handle id_;
};

}  // namespace

void WriteIndicesHdf5(const std::filesystem::path& file, const std::string& settings,
                      const std::vector<std::string>& quantities,
                      const std::vector<std::string>& parameters,
                      const std::vector<QuantityIndices>& indices)
{
    const std::size_t lines = quantities.size() * parameters.size();
    std::vector<const char*> quantityColumn, parameterColumn;
    std::array<std::vector<double>, kNumberColumns.size()> numbers;
    std::vector<std::uint8_t> defined;
    for (std::size_t q = 0; q < quantities.size(); ++q) {
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            quantityColumn.push_back(quantities[q].c_str());
            parameterColumn.push_back(parameters[i].c_str());
            defined.push_back(indices[q].has_value() ? 1 : 0);
            const ParameterIndices e = indices[q] ? (*indices[q])[i] : ParameterIndices{};
            const std::array<double, 6> values = {e.S1.value, e.S1.low, e.S1.high,
                                                  e.ST.value, e.ST.low, e.ST.high};
            for (std::size_t c = 0; c < values.size(); ++c) numbers[c].push_back(values[c]);
        }
    }
    IndicesWriter writer(file, lines);
    writer.Settings(settings);
    writer.TextColumn("quantity", quantityColumn);
    writer.TextColumn("parameter", parameterColumn);
    for (std::size_t c = 0; c < numbers.size(); ++c)
        writer.Column(kNumberColumns[c], H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, numbers[c].data());
    writer.Column("defined", H5T_STD_U8LE, H5T_NATIVE_UINT8, defined.data());
    writer.Commit();
}

IndicesFile ReadIndicesHdf5(const std::filesystem::path& file)
{
    // The user's file: read first in a child, which a fault of the HDF5 library may end.
    lut::hdf5::RequireSafeToRead(file, [&] { IndicesReader(file).Load(); });
    return IndicesReader(file).Load();
}

}  // namespace tulmera::gsa::detail
