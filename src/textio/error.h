#pragma once
#include <stdexcept>
#include <string>

namespace tulmera {

// The one failure type of the program: a file that cannot be read or written, a malformed
// result file, a parameter outside the model's domain, a non-finite number about to be written.
// what() is an English sentence that names the file, field, parameter or wavelength concerned.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace tulmera
