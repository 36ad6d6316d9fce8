// Renders a picture file in a display style and writes the wallpaper work file, as setting the
// wallpaper does, so that a script can time the whole process against other tools:
//   wallpaper_write SOURCE.bmp OUT.bmp STYLE WIDTH HEIGHT DEPTH
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "imaging/BmpCodec.h"
#include "imaging/StyleRenderer.h"

int main(int argc, char** argv) {
    using namespace mvpr;
    if (argc != 7) {
        std::fprintf(stderr, "usage: wallpaper_write SOURCE.bmp OUT.bmp STYLE WIDTH HEIGHT DEPTH\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    const DecodeResult decoded = DecodeBmp(file);
    const auto style = DisplayStyleOf(argv[3]);
    if (!decoded.Ok() || !style) {
        std::fprintf(stderr, "cannot read %s or no style %s\n", argv[1], argv[3]);
        return 1;
    }
    const auto work = RenderWorkFile(decoded.picture, *style, std::atoi(argv[4]), std::atoi(argv[5]));
    const auto bytes = work ? EncodeWorkFile(*work, std::atoi(argv[6])) : std::nullopt;
    if (!bytes) return 1;
    // As the program replaces the file: a new one beside it, flushed, then renamed over it.
    const std::string temp = std::string(argv[2]) + ".new";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return 1;
    std::size_t done = 0;
    while (done < bytes->size()) {
        const ssize_t n = write(fd, bytes->data() + done, bytes->size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    const bool ok = done == bytes->size() && fsync(fd) == 0;
    close(fd);
    return ok && std::rename(temp.c_str(), argv[2]) == 0 ? 0 : 1;
}
