#pragma once
// Every choice the demo makes goes through here, so that one seed always gives the same file on every
// machine. The engine's output is fixed by the C++ standard; the std:: distributions are not (they differ
// between library versions), hence the hand-written helpers.
#include <cstdint>
#include <random>
#include <span>

namespace pylon::demo {

class Rng {
  public:
    explicit Rng(std::uint64_t seed) : engine_(seed) {}

    // A whole number in [0, n), n > 0. The modulo bias is far too small to matter for made-up data.
    std::uint64_t below(std::uint64_t n) { return engine_() % n; }
    // A whole number in [lo, hi].
    int between(int lo, int hi) { return lo + int(below(std::uint64_t(hi - lo) + 1)); }
    // True p times out of a hundred.
    bool percent(int p) { return below(100) < std::uint64_t(p); }
    // An index in [0, n) that favours the small ones: the first customers are the faithful ones.
    std::uint64_t favouringFirst(std::uint64_t n) { return below(n) * below(n) / n; }

    template <typename T> const T& pick(std::span<const T> items) { return items[below(items.size())]; }

  private:
    std::mt19937_64 engine_;
};

} // namespace pylon::demo
