#pragma once
#include <hdf5.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// The pieces every HDF5 file of ours is written and read with (the look-up tables and the
// sensitivity analyses), through the HDF5 C library: identifiers that close themselves, the
// library kept quiet, UTF-8 texts and datasets without modification times, so that the same
// content always gives the same bytes.
namespace tulmera::lut::hdf5 {

// An HDF5 identifier closed by its closing function when it goes out of scope.
class Handle {
public:
    Handle(hid_t id, herr_t (*close)(hid_t)) : id_(id), close_(close) {}
    ~Handle()
    {
        if (id_ >= 0) close_(id_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : id_(other.id_), close_(other.close_) { other.id_ = -1; }
    Handle& operator=(Handle&&) = delete;
    hid_t get() const { return id_; }
    bool ok() const { return id_ >= 0; }

private:
    hid_t id_;
    herr_t (*close_)(hid_t);
};

// Called before any other call of the library. Its own error printing would land on the
// user's terminal: we report ourselves. And it must not close its files at the program's
// exit: a file whose closing failed (a full disk) stays open in the library, and closing it
// again at exit crashes HDF5 1.10; our files are closed (or abandoned) by their writers.
void SilenceLibrary();

// A simple dataspace of `dims`.
Handle Space(std::initializer_list<hsize_t> dims);

// Variable-length UTF-8 text.
Handle StringType();

// Dataset creation without the modification times HDF5 stores by default.
Handle UntimedCreation();

// Writes attribute `name` on `on`: a scalar when `count` is 0, else `count` values. False when
// the library fails (the caller names the file).
bool WriteAttribute(hid_t on, const char* name, hid_t fileType, hid_t memType, hsize_t count,
                    const void* data);

// A scalar text attribute, or one of `texts.size()` texts. False when the library fails.
bool WriteTextAttribute(hid_t on, const char* name, const std::string& text);
bool WriteTextsAttribute(hid_t on, const char* name, const std::vector<std::string>& texts);

// A scalar text attribute of `on`; nothing when it is missing or not one text.
std::optional<std::string> ReadTextAttribute(hid_t on, const char* name);

}  // namespace tulmera::lut::hdf5
