#pragma once
#include <chrono>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

namespace tulmera::lut {

// A one-line progress bar for a terminal: "[#######.............]  35%  35000/100000 rows
// 52100/s  1.2 s left", redrawn in place (carriage return) at most ten times a second.
// Debian has no maintained C++ progress-bar library, so this is our own small one.
class ProgressBar {
public:
    // Draws on `out` when `enabled`; otherwise every call does nothing.
    ProgressBar(std::ostream& out, std::uint64_t total, bool enabled);

    // `done` rows of `total` are finished. Thread-safe; a call while another thread draws, or
    // within a tenth of a second of the last drawing, returns at once.
    void Update(std::uint64_t done);

    // Draws the final state and ends the line (when anything was drawn).
    void Finish();

    // The line for `done` rows after `seconds` (exposed for the tests).
    static std::string Line(std::uint64_t done, std::uint64_t total, double seconds);

private:
    std::ostream& out_;
    std::uint64_t total_;
    bool enabled_;
    std::mutex mutex_;
    std::chrono::steady_clock::time_point start_, lastDrawn_;
    std::uint64_t lastDone_ = 0;
    bool drawn_ = false;
};

}  // namespace tulmera::lut
