#include "imaging/Quantizer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace mvpr {

namespace {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

Rgb At(const std::uint8_t* px) {
    return {px[2], px[1], px[0]};
}

bool Is32(const Picture& p) {
    return !p.Empty() && p.BitsPerPixel() == 32;
}

std::uint32_t Key(Rgb c) {
    return static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 |
           static_cast<std::uint32_t>(c.b);
}

Bgra ToBgra(Rgb c) {
    return Bgra{static_cast<std::uint8_t>(c.b), static_cast<std::uint8_t>(c.g),
                static_cast<std::uint8_t>(c.r), 0};
}

int Distance(Rgb a, Rgb b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

// Open addressing over 24-bit colours; the table never fills beyond half.
class ColourTable {
  public:
    explicit ColourTable(std::size_t expected) {
        std::size_t size = 16;
        while (size < expected * 2) size *= 2;
        keys_.assign(size, kEmpty);
    }
    // The slot of the colour, made if new; `added` tells which.
    std::size_t Find(std::uint32_t key, bool& added) {
        std::size_t i = (key * 2654435761u) & (keys_.size() - 1);
        while (keys_[i] != kEmpty && keys_[i] != key) i = (i + 1) & (keys_.size() - 1);
        added = keys_[i] == kEmpty;
        keys_[i] = key;
        return i;
    }
    std::vector<std::uint32_t> keys_;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
};

// Nearest palette colour by squared distance: the entries sorted by green, searched outwards
// from the query's green until the green gap alone exceeds the best distance.
class NearestColour {
  public:
    explicit NearestColour(std::span<const Rgb> palette) {
        for (std::size_t i = 0; i < palette.size(); ++i)
            entries_.push_back({palette[i], static_cast<int>(i)});
        std::sort(entries_.begin(), entries_.end(),
                  [](const Entry& a, const Entry& b) { return a.c.g < b.c.g; });
    }
    int Find(Rgb q) const {
        const auto n = static_cast<int>(entries_.size());
        int up = static_cast<int>(std::lower_bound(entries_.begin(), entries_.end(), q.g,
                                                   [](const Entry& e, int g) { return e.c.g < g; }) -
                                  entries_.begin());
        int down = up - 1;
        int best = INT32_MAX, bestIndex = 0;
        while (up < n || down >= 0) {
            if (up < n) {
                const int dg = entries_[static_cast<std::size_t>(up)].c.g - q.g;
                if (dg * dg >= best) {
                    up = n;
                } else {
                    const int d = Distance(entries_[static_cast<std::size_t>(up)].c, q);
                    if (d < best) best = d, bestIndex = entries_[static_cast<std::size_t>(up)].index;
                    ++up;
                }
            }
            if (down >= 0) {
                const int dg = q.g - entries_[static_cast<std::size_t>(down)].c.g;
                if (dg * dg >= best) {
                    down = -1;
                } else {
                    const int d = Distance(entries_[static_cast<std::size_t>(down)].c, q);
                    if (d < best) best = d, bestIndex = entries_[static_cast<std::size_t>(down)].index;
                    --down;
                }
            }
        }
        return bestIndex;
    }

  private:
    struct Entry {
        Rgb c;
        int index;
    };
    std::vector<Entry> entries_;
};

// --- Wu's variance-minimising boxes over a 32 x 32 x 32 histogram -------------------------------
constexpr int kSide = 33;  // one more than the levels: the cumulative tables start with a zero plane

struct Box {
    int r0 = 0, r1 = 0, g0 = 0, g1 = 0, b0 = 0, b1 = 0;  // lower bounds exclusive, upper inclusive
};

class WuBoxes {
  public:
    explicit WuBoxes(const Picture& p) : wt_(kCells), mr_(kCells), mg_(kCells), mb_(kCells), m2_(kCells) {
        for (int y = 0; y < p.Height(); ++y) {
            const std::uint8_t* px = p.Row(y);
            for (int x = 0; x < p.Width(); ++x, px += 4) {
                const Rgb c = At(px);
                const int i = Index((c.r >> 3) + 1, (c.g >> 3) + 1, (c.b >> 3) + 1);
                wt_[i] += 1;
                mr_[i] += c.r;
                mg_[i] += c.g;
                mb_[i] += c.b;
                m2_[i] += static_cast<double>(c.r * c.r + c.g * c.g + c.b * c.b);
            }
        }
        Accumulate();
    }

    // Up to `count` boxes, each split where the two halves' summed variance is least.
    std::vector<Rgb> Colours(int count) {
        std::vector<Box> boxes(static_cast<std::size_t>(count));
        std::vector<double> variance(static_cast<std::size_t>(count), 0.0);
        boxes[0] = Box{0, 32, 0, 32, 0, 32};
        int made = 1, next = 0;
        while (made < count) {
            Box& a = boxes[static_cast<std::size_t>(next)];
            Box& b = boxes[static_cast<std::size_t>(made)];
            if (Cut(a, b)) {
                variance[static_cast<std::size_t>(next)] = Cells(a) > 1 ? Variance(a) : 0.0;
                variance[static_cast<std::size_t>(made)] = Cells(b) > 1 ? Variance(b) : 0.0;
                ++made;
            } else {
                variance[static_cast<std::size_t>(next)] = 0.0;
            }
            next = static_cast<int>(std::max_element(variance.begin(), variance.begin() + made) -
                                    variance.begin());
            if (variance[static_cast<std::size_t>(next)] <= 0.0) break;
        }
        std::vector<Rgb> out;
        for (int i = 0; i < made; ++i) {
            const Box& box = boxes[static_cast<std::size_t>(i)];
            const double w = static_cast<double>(Volume(box, wt_));
            if (w <= 0) continue;
            out.push_back({static_cast<int>(static_cast<double>(Volume(box, mr_)) / w + 0.5),
                           static_cast<int>(static_cast<double>(Volume(box, mg_)) / w + 0.5),
                           static_cast<int>(static_cast<double>(Volume(box, mb_)) / w + 0.5)});
        }
        return out;
    }

  private:
    static constexpr int kCells = kSide * kSide * kSide;
    enum Axis { Red, Green, Blue };

    static int Index(int r, int g, int b) { return (r * kSide + g) * kSide + b; }
    static int Cells(const Box& x) { return (x.r1 - x.r0) * (x.g1 - x.g0) * (x.b1 - x.b0); }

    void Accumulate() {
        for (int r = 1; r < kSide; ++r) {
            std::array<std::int64_t, kSide> aw{}, ar{}, ag{}, ab{};
            std::array<double, kSide> a2{};
            for (int g = 1; g < kSide; ++g) {
                std::int64_t lw = 0, lr = 0, lg = 0, lb = 0;
                double l2 = 0;
                for (int b = 1; b < kSide; ++b) {
                    const int i = Index(r, g, b), below = Index(r - 1, g, b);
                    lw += wt_[i], lr += mr_[i], lg += mg_[i], lb += mb_[i], l2 += m2_[i];
                    aw[b] += lw, ar[b] += lr, ag[b] += lg, ab[b] += lb, a2[b] += l2;
                    wt_[i] = wt_[below] + aw[b];
                    mr_[i] = mr_[below] + ar[b];
                    mg_[i] = mg_[below] + ag[b];
                    mb_[i] = mb_[below] + ab[b];
                    m2_[i] = m2_[below] + a2[b];
                }
            }
        }
    }

    template <class T>
    static T Volume(const Box& x, const std::vector<T>& m) {
        return m[Index(x.r1, x.g1, x.b1)] - m[Index(x.r1, x.g1, x.b0)] - m[Index(x.r1, x.g0, x.b1)] +
               m[Index(x.r1, x.g0, x.b0)] - m[Index(x.r0, x.g1, x.b1)] + m[Index(x.r0, x.g1, x.b0)] +
               m[Index(x.r0, x.g0, x.b1)] - m[Index(x.r0, x.g0, x.b0)];
    }
    // The part of the volume that does not move with the box's upper bound on `axis`.
    template <class T>
    static T Bottom(const Box& x, Axis axis, const std::vector<T>& m) {
        switch (axis) {
            case Red:
                return -m[Index(x.r0, x.g1, x.b1)] + m[Index(x.r0, x.g1, x.b0)] + m[Index(x.r0, x.g0, x.b1)] -
                       m[Index(x.r0, x.g0, x.b0)];
            case Green:
                return -m[Index(x.r1, x.g0, x.b1)] + m[Index(x.r1, x.g0, x.b0)] + m[Index(x.r0, x.g0, x.b1)] -
                       m[Index(x.r0, x.g0, x.b0)];
            default:
                return -m[Index(x.r1, x.g1, x.b0)] + m[Index(x.r1, x.g0, x.b0)] + m[Index(x.r0, x.g1, x.b0)] -
                       m[Index(x.r0, x.g0, x.b0)];
        }
    }
    // The part that does, with that bound at `pos`.
    template <class T>
    static T Top(const Box& x, Axis axis, int pos, const std::vector<T>& m) {
        switch (axis) {
            case Red:
                return m[Index(pos, x.g1, x.b1)] - m[Index(pos, x.g1, x.b0)] - m[Index(pos, x.g0, x.b1)] +
                       m[Index(pos, x.g0, x.b0)];
            case Green:
                return m[Index(x.r1, pos, x.b1)] - m[Index(x.r1, pos, x.b0)] - m[Index(x.r0, pos, x.b1)] +
                       m[Index(x.r0, pos, x.b0)];
            default:
                return m[Index(x.r1, x.g1, pos)] - m[Index(x.r1, x.g0, pos)] - m[Index(x.r0, x.g1, pos)] +
                       m[Index(x.r0, x.g0, pos)];
        }
    }

    double Variance(const Box& x) const {
        const auto dr = static_cast<double>(Volume(x, mr_)), dg = static_cast<double>(Volume(x, mg_)),
                   db = static_cast<double>(Volume(x, mb_));
        return Volume(x, m2_) - (dr * dr + dg * dg + db * db) / static_cast<double>(Volume(x, wt_));
    }

    struct Whole {
        std::int64_t r, g, b, w;
    };
    // The best split of `x` on `axis` (its score, and the plane in `cut`, -1 when none).
    double Maximize(const Box& x, Axis axis, int first, int last, int& cut, const Whole& whole) const {
        const std::int64_t baseR = Bottom(x, axis, mr_), baseG = Bottom(x, axis, mg_),
                           baseB = Bottom(x, axis, mb_), baseW = Bottom(x, axis, wt_);
        double best = 0.0;
        cut = -1;
        for (int i = first; i < last; ++i) {
            const std::int64_t hr = baseR + Top(x, axis, i, mr_), hg = baseG + Top(x, axis, i, mg_),
                               hb = baseB + Top(x, axis, i, mb_), hw = baseW + Top(x, axis, i, wt_);
            if (hw == 0 || hw == whole.w) continue;
            const auto sq = [](std::int64_t v) { return static_cast<double>(v) * static_cast<double>(v); };
            const double score =
                (sq(hr) + sq(hg) + sq(hb)) / static_cast<double>(hw) +
                (sq(whole.r - hr) + sq(whole.g - hg) + sq(whole.b - hb)) / static_cast<double>(whole.w - hw);
            if (score > best) best = score, cut = i;
        }
        return best;
    }

    bool Cut(Box& a, Box& b) const {
        const Whole whole{Volume(a, mr_), Volume(a, mg_), Volume(a, mb_), Volume(a, wt_)};
        int cutR = -1, cutG = -1, cutB = -1;
        const double maxR = Maximize(a, Red, a.r0 + 1, a.r1, cutR, whole);
        const double maxG = Maximize(a, Green, a.g0 + 1, a.g1, cutG, whole);
        const double maxB = Maximize(a, Blue, a.b0 + 1, a.b1, cutB, whole);
        b = a;
        if (maxR >= maxG && maxR >= maxB) {
            if (cutR < 0) return false;
            b.r0 = a.r1 = cutR;
        } else if (maxG >= maxB) {
            if (cutG < 0) return false;
            b.g0 = a.g1 = cutG;
        } else {
            if (cutB < 0) return false;
            b.b0 = a.b1 = cutB;
        }
        return true;
    }

    std::vector<std::int64_t> wt_, mr_, mg_, mb_;
    std::vector<double> m2_;
};

// Weighted k-means over the picture's distinct colours; the first `fixedCount` centres stay.
void Refine(const Picture& p, std::vector<Rgb>& centres, std::size_t fixedCount) {
    const std::size_t pixels = static_cast<std::size_t>(p.Width()) * static_cast<std::size_t>(p.Height());
    ColourTable table(std::min<std::size_t>(pixels, std::size_t{1} << 22));
    std::vector<Rgb> points;
    std::vector<std::uint32_t> weights;
    std::vector<std::uint32_t> slotPoint(table.keys_.size());
    for (int y = 0; y < p.Height(); ++y) {
        const std::uint8_t* px = p.Row(y);
        for (int x = 0; x < p.Width(); ++x, px += 4) {
            const Rgb c = At(px);
            bool added = false;
            const std::size_t slot = table.Find(Key(c), added);
            if (added) {
                if (points.size() * 2 >= table.keys_.size()) return;  // too many to count: keep the boxes
                slotPoint[slot] = static_cast<std::uint32_t>(points.size());
                points.push_back(c);
                weights.push_back(0);
            }
            ++weights[slotPoint[slot]];
        }
    }
    constexpr int kRounds = 6;
    std::vector<std::array<double, 4>> sums(centres.size());
    for (int round = 0; round < kRounds; ++round) {
        const NearestColour nearest(centres);
        std::fill(sums.begin(), sums.end(), std::array<double, 4>{});
        for (std::size_t i = 0; i < points.size(); ++i) {
            auto& s = sums[static_cast<std::size_t>(nearest.Find(points[i]))];
            const double w = weights[i];
            s[0] += w * points[i].r, s[1] += w * points[i].g, s[2] += w * points[i].b, s[3] += w;
        }
        bool moved = false;
        for (std::size_t k = fixedCount; k < centres.size(); ++k) {
            if (sums[k][3] <= 0) continue;
            const Rgb c{static_cast<int>(sums[k][0] / sums[k][3] + 0.5),
                        static_cast<int>(sums[k][1] / sums[k][3] + 0.5),
                        static_cast<int>(sums[k][2] / sums[k][3] + 0.5)};
            moved = moved || Key(c) != Key(centres[k]);
            centres[k] = c;
        }
        if (!moved) break;
    }
}

}  // namespace

std::optional<std::vector<Bgra>> DistinctColours(const Picture& picture, std::size_t limit) {
    if (picture.Empty()) return std::nullopt;
    ColourTable table(limit + 1);
    std::vector<Bgra> out;
    std::uint32_t last = ColourTable::kEmpty;
    // 24 bits and plain 32 bits are read in place; other depths pixel by pixel.
    const ChannelMasks& m = picture.Masks();
    const bool plain32 =
        picture.BitsPerPixel() == 32 && m.red == 0xFF0000u && m.green == 0xFF00u && m.blue == 0xFFu;
    const int step = picture.BitsPerPixel() == 24 ? 3 : plain32 ? 4 : 0;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* px = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x, px += step) {
            Rgb c;
            if (step) {
                c = At(px);
            } else {
                const Bgra b = picture.ColorAt(x, y);
                c = {b.r, b.g, b.b};
            }
            const std::uint32_t key = Key(c);
            if (key == last) continue;  // flat areas cost one compare
            last = key;
            bool added = false;
            table.Find(key, added);
            if (!added) continue;
            if (out.size() == limit) return std::nullopt;
            out.push_back(ToBgra(c));
        }
    }
    return out;
}

std::vector<Bgra> BuildPalette(const Picture& bgra32, int maxColours, std::span<const Bgra> fixed) {
    std::vector<Rgb> centres;
    for (const Bgra& c : fixed) centres.push_back({c.r, c.g, c.b});
    maxColours = std::clamp(maxColours, 1, 256);
    if (Is32(bgra32) && static_cast<int>(centres.size()) < maxColours) {
        WuBoxes boxes(bgra32);
        for (const Rgb& c : boxes.Colours(maxColours - static_cast<int>(centres.size())))
            centres.push_back(c);
        Refine(bgra32, centres, fixed.size());
    }
    centres.resize(std::min(centres.size(), static_cast<std::size_t>(maxColours)));
    std::vector<Bgra> out;
    for (const Rgb& c : centres) out.push_back(ToBgra(c));
    return out;
}

std::optional<Picture> MapToPalette(const Picture& bgra32, std::span<const Bgra> palette, bool dither) {
    if (!Is32(bgra32) || palette.empty() || palette.size() > 256) return std::nullopt;
    auto out = Picture::CreateForOverwrite(bgra32.Width(), bgra32.Height(), 8);
    if (!out) return std::nullopt;
    std::vector<Rgb> colours;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        colours.push_back({palette[i].r, palette[i].g, palette[i].b});
        out->Palette()[i] = Bgra{palette[i].b, palette[i].g, palette[i].r, 0};
    }
    const NearestColour nearest(colours);
    const int w = bgra32.Width();
    // Errors in sixteenths, one pixel of margin either side; this row's and the next.
    std::vector<std::array<int, 3>> here(static_cast<std::size_t>(w) + 2), below(here.size());
    for (int y = 0; y < bgra32.Height(); ++y) {
        const std::uint8_t* src = bgra32.Row(y);
        std::uint8_t* dst = out->Row(y);
        const bool rightToLeft = dither && y % 2 == 1;  // serpentine: no drift to one side
        const int step = rightToLeft ? -1 : 1;
        for (int n = 0; n < w; ++n) {
            const int x = rightToLeft ? w - 1 - n : n;
            Rgb c = At(src + static_cast<std::size_t>(x) * 4);
            if (dither) {
                const auto& e = here[static_cast<std::size_t>(x) + 1];
                c.r = std::clamp(c.r + (e[0] + 8) / 16, 0, 255);
                c.g = std::clamp(c.g + (e[1] + 8) / 16, 0, 255);
                c.b = std::clamp(c.b + (e[2] + 8) / 16, 0, 255);
            }
            const int index = nearest.Find(c);
            dst[x] = static_cast<std::uint8_t>(index);
            if (!dither) continue;
            const Rgb& got = colours[static_cast<std::size_t>(index)];
            const int err[3] = {c.r - got.r, c.g - got.g, c.b - got.b};
            const auto at = [&](std::vector<std::array<int, 3>>& row, int dx) -> std::array<int, 3>& {
                return row[static_cast<std::size_t>(x + dx * step + 1)];
            };
            for (int k = 0; k < 3; ++k) {
                if (x + step >= 0 && x + step < w) {
                    at(here, 1)[k] += err[k] * 7;
                    at(below, 1)[k] += err[k];
                }
                if (x - step >= 0 && x - step < w) at(below, -1)[k] += err[k] * 3;
                at(below, 0)[k] += err[k] * 5;
            }
        }
        if (dither) {
            std::swap(here, below);
            std::fill(below.begin(), below.end(), std::array<int, 3>{});
        }
    }
    return out;
}

}  // namespace mvpr
