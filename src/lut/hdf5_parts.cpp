#include "lut/hdf5_parts.h"

namespace tulmera::lut::hdf5 {

void SilenceLibrary()
{
    H5dont_atexit();  // fails harmlessly once the library runs
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
}

Handle Space(std::initializer_list<hsize_t> dims)
{
    const std::vector<hsize_t> d(dims);
    return {H5Screate_simple(static_cast<int>(d.size()), d.data(), nullptr), H5Sclose};
}

Handle StringType()
{
    Handle type(H5Tcopy(H5T_C_S1), H5Tclose);
    H5Tset_size(type.get(), H5T_VARIABLE);
    H5Tset_cset(type.get(), H5T_CSET_UTF8);
    return type;
}

Handle UntimedCreation()
{
    Handle creation(H5Pcreate(H5P_DATASET_CREATE), H5Pclose);
    H5Pset_obj_track_times(creation.get(), false);
    return creation;
}

bool WriteAttribute(hid_t on, const char* name, hid_t fileType, hid_t memType, hsize_t count,
                    const void* data)
{
    const Handle space = count == 0 ? Handle(H5Screate(H5S_SCALAR), H5Sclose) : Space({count});
    const Handle attribute(H5Acreate2(on, name, fileType, space.get(), H5P_DEFAULT, H5P_DEFAULT),
                           H5Aclose);
    return attribute.ok() && H5Awrite(attribute.get(), memType, data) >= 0;
}

bool WriteTextAttribute(hid_t on, const char* name, const std::string& text)
{
    const Handle type = StringType();
    const char* value = text.c_str();
    return WriteAttribute(on, name, type.get(), type.get(), 0, &value);
}

bool WriteTextsAttribute(hid_t on, const char* name, const std::vector<std::string>& texts)
{
    std::vector<const char*> values;
    for (const std::string& text : texts) values.push_back(text.c_str());
    const Handle type = StringType();
    return !values.empty()
           && WriteAttribute(on, name, type.get(), type.get(), values.size(), values.data());
}

std::optional<std::string> ReadTextAttribute(hid_t on, const char* name)
{
    if (H5Aexists(on, name) <= 0) return std::nullopt;
    const Handle attribute(H5Aopen(on, name, H5P_DEFAULT), H5Aclose);
    if (!attribute.ok()) return std::nullopt;
    const Handle space(H5Aget_space(attribute.get()), H5Sclose);
    const Handle stored(H5Aget_type(attribute.get()), H5Tclose);
    if (H5Sget_simple_extent_npoints(space.get()) != 1 || H5Tget_class(stored.get()) != H5T_STRING
        || H5Tis_variable_str(stored.get()) <= 0) {
        return std::nullopt;
    }
    const Handle type = StringType();
    char* value = nullptr;
    if (H5Aread(attribute.get(), type.get(), &value) < 0) return std::nullopt;
    std::string text = value ? value : "";
    H5free_memory(value);
    return text;
}

}  // namespace tulmera::lut::hdf5
