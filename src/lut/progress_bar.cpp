#include "lut/progress_bar.h"

#include <algorithm>
#include <cmath>

#include "textio/number_text.h"

namespace tulmera::lut {
namespace {

constexpr int kBarWidth = 24;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string Whole(double x) { return textio::NumberText(std::round(x)); }

// Two significant digits below ten units, whole units above.
std::string Amount(double x) { return x < 10 ? textio::NumberText(x, 2) : Whole(x); }

std::string Duration(double seconds)
{
    if (seconds < 60) return Amount(seconds) + " s";
    if (seconds < 3600) return Whole(seconds / 60) + " min";
    return Amount(seconds / 3600) + " h";
}

}  // namespace

ProgressBar::ProgressBar(std::ostream& out, std::uint64_t total, bool enabled)
    : out_(out),
      total_(total),
      enabled_(enabled),
      start_(std::chrono::steady_clock::now()),
      lastDrawn_(start_)
{
}

std::string ProgressBar::Line(std::uint64_t done, std::uint64_t total, double seconds)
{
    const double fraction =
        total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
    const int filled = std::clamp(static_cast<int>(fraction * kBarWidth), 0, kBarWidth);
    std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#')
                       + std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] ";
    line += Whole(100 * fraction) + "%  " + Whole(static_cast<double>(done)) + "/"
            + Whole(static_cast<double>(total)) + " rows";
    if (seconds > 0 && done > 0) {
        const double rate = static_cast<double>(done) / seconds;
        line += "  " + Whole(rate) + "/s";
        if (done < total)
            line += "  " + Duration(static_cast<double>(total - done) / rate) + " left";
    }
    return line;
}

void ProgressBar::Update(std::uint64_t done)
{
    if (!enabled_) return;
    const std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) return;
    const auto now = std::chrono::steady_clock::now();
    lastDone_ = std::max(lastDone_, done);
    if (drawn_ && now - lastDrawn_ < kRedrawInterval) return;
    lastDrawn_ = now;
    drawn_ = true;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    out_ << '\r' << Line(lastDone_, total_, seconds) << "\x1b[K" << std::flush;  // clear the rest
}

void ProgressBar::Finish()
{
    if (!enabled_) return;
    const std::lock_guard lock(mutex_);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    out_ << '\r' << Line(lastDone_, total_, seconds) << "\x1b[K\n" << std::flush;
}

}  // namespace tulmera::lut
