#ifndef MVPR_TESTS_SCOPEDSEAM_H
#define MVPR_TESTS_SCOPEDSEAM_H

#include <utility>

namespace mvpr {

template <typename Setter>
struct SeamOf;
template <typename Seam>
struct SeamOf<Seam (*)(Seam)> {
    using type = Seam;
};

// Holds a process-wide test seam for one scope: sets it, and puts back the seam it replaced when
// the scope ends, also when a failed assertion ends the test early. `Set` is one of the
// Set...Seam functions, each of which returns the seam it replaces.
template <auto Set>
class ScopedSeam {
    using Seam = typename SeamOf<decltype(Set)>::type;

  public:
    explicit ScopedSeam(Seam seam) : previous_(Set(std::move(seam))) {}
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;
    ~ScopedSeam() { Set(std::move(previous_)); }

  private:
    Seam previous_;
};

}  // namespace mvpr

#endif
