// Draws the program icon (an old monitor showing a sunrise over the sea) at 32 and 16 pixels and
// writes it as an .ico file:  mkicon out.ico
// The randomizer's icon is the same monitor with a die before it:  mkicon out.ico random
// Built and run on the build machine, so no binary icon is kept in the sources.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {
struct Rgba {
    std::uint8_t r, g, b, a;
};

class Image {
  public:
    explicit Image(int size) : n_(size), px_(static_cast<std::size_t>(size * size), Rgba{0, 0, 0, 0}) {}
    int size() const { return n_; }
    void Set(int x, int y, Rgba c) {
        if (x >= 0 && y >= 0 && x < n_ && y < n_) px_[static_cast<std::size_t>(y * n_ + x)] = c;
    }
    Rgba Get(int x, int y) const { return px_[static_cast<std::size_t>(y * n_ + x)]; }
    void Fill(double x0, double y0, double x1, double y1, Rgba c) {  // in units of the 32-pixel design
        const double k = n_ / 32.0;
        for (int y = static_cast<int>(y0 * k); y < static_cast<int>(y1 * k + 0.5); ++y)
            for (int x = static_cast<int>(x0 * k); x < static_cast<int>(x1 * k + 0.5); ++x) Set(x, y, c);
    }

  private:
    int n_;
    std::vector<Rgba> px_;
};

// A die showing five, over the lower right of the monitor.
void DrawDie(Image& im) {
    const Rgba ink{30, 30, 40, 255}, face{250, 250, 245, 255};
    im.Fill(17, 15, 31, 29, ink);
    im.Fill(18, 16, 30, 28, face);
    const double pips[5][2] = {{20, 18}, {26, 18}, {23, 21}, {20, 24}, {26, 24}};
    for (const auto& p : pips) im.Fill(p[0], p[1], p[0] + 2, p[1] + 2, ink);
}

Image Draw(int size, bool randomizer) {
    Image im(size);
    const double k = size / 32.0;
    const Rgba edge{70, 62, 50, 255}, body{222, 214, 192, 255};
    im.Fill(2, 3, 30, 25, edge);    // case outline
    im.Fill(3, 4, 29, 24, body);    // case
    im.Fill(12, 25, 20, 27, edge);  // neck
    im.Fill(8, 27, 24, 29, edge);   // foot
    im.Fill(9, 27, 23, 28, body);
    // the screen: sky over sea
    for (int y = static_cast<int>(6 * k); y < static_cast<int>(20 * k); ++y) {
        const double t = (y - 6 * k) / (14 * k);
        for (int x = static_cast<int>(6 * k); x < static_cast<int>(26 * k); ++x) {
            Rgba c = t < 0.55 ? Rgba{255, static_cast<std::uint8_t>(110 + 120 * t), 50, 255}
                              : Rgba{20, static_cast<std::uint8_t>(60 + 40 * (1 - t)), 140, 255};
            im.Set(x, y, c);
        }
    }
    // the rising sun on the horizon
    const double cx = 16 * k, cy = 13.7 * k, r = 4.2 * k;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d <= r && y + 0.5 < cy + 0.2 * k && x >= 6 * k && x < 26 * k)
                im.Set(x, y, Rgba{255, 246, 170, 255});
        }
    im.Fill(13, 15.5, 19, 16.3, Rgba{255, 220, 140, 255});  // glitter on the water
    im.Fill(14.5, 17.3, 17.5, 18, Rgba{255, 220, 140, 255});
    im.Fill(24, 21, 26, 22.5, Rgba{60, 200, 60, 255});  // power light
    if (randomizer) DrawDie(im);
    return im;
}

void Put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& b, unsigned v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

std::vector<std::uint8_t> Entry(const Image& im) {
    const int n = im.size();
    std::vector<std::uint8_t> b;
    Put32(b, 40);
    Put32(b, static_cast<unsigned>(n));
    Put32(b, static_cast<unsigned>(2 * n));  // colour rows and mask rows
    Put16(b, 1);
    Put16(b, 32);
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            const Rgba c = im.Get(x, y);
            b.push_back(c.b);
            b.push_back(c.g);
            b.push_back(c.r);
            b.push_back(c.a);
        }
    const int maskStride = ((n + 31) / 32) * 4;
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < n; ++x)
            if (im.Get(x, y).a == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}
}  // namespace

int main(int argc, char** argv) {
    const bool randomizer = argc == 3 && std::string_view(argv[2]) == "random";
    if (argc != 2 && !randomizer) {
        std::fprintf(stderr, "usage: mkicon out.ico [random]\n");
        return 2;
    }
    const std::vector<std::uint8_t> images[] = {Entry(Draw(32, randomizer)), Entry(Draw(16, randomizer))};
    const int sizes[] = {32, 16};
    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, 2);
    unsigned offset = 6 + 16 * 2;
    for (int i = 0; i < 2; ++i) {
        file.push_back(static_cast<std::uint8_t>(sizes[i]));
        file.push_back(static_cast<std::uint8_t>(sizes[i]));
        file.push_back(0);
        file.push_back(0);
        Put16(file, 1);
        Put16(file, 32);
        Put32(file, static_cast<unsigned>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const auto& im : images) file.insert(file.end(), im.begin(), im.end());
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 1;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
