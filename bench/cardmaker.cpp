#include "cardmaker.h"

#include "thermalpalette.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
constexpr int RowBytes = Width * 3;
constexpr int PixelOffset = 54;
constexpr int PerFolder = 100;
constexpr int VariantRows = 8;
const char MarkerName[] = ".calorix-bench-card";
const int MarkerVersion = 2;

void put16(std::string &b, int at, unsigned v)
{
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
}

void put32(std::string &b, int at, unsigned v)
{
    put16(b, at, v & 0xffff);
    put16(b, at + 2, v >> 16);
}

std::string makeTemplate()
{
    std::string b(CardMaker::PictureFileSize, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, CardMaker::HeaderFileSize);
    put32(b, 10, PixelOffset);
    put32(b, 14, 40);
    put32(b, 18, Width);
    put32(b, 22, Height);
    put16(b, 26, 1);
    put16(b, 28, 24);
    put32(b, 34, RowBytes * Height);
    put32(b, 38, 2835);
    put32(b, 42, 2835);
    for (int y = 0; y < Height; ++y) {
        char *row = &b[PixelOffset + y * RowBytes];
        for (int x = 0; x < Width; ++x) {
            row[3 * x] = char((x * 3 + y) & 0xff);
            row[3 * x + 1] = char((y * 5) & 0xff);
            row[3 * x + 2] = char((x ^ y) & 0xff);
        }
    }
    return b;
}

const std::string &pictureTemplate()
{
    static const std::string bytes = makeTemplate();
    return bytes;
}

// A band of rows in the middle of the picture carries the variant, so thumbnails differ.
void vary(std::string &b, int variant)
{
    const int first = Height / 2 - VariantRows / 2;
    for (int y = first; y < first + VariantRows; ++y) {
        char *row = &b[PixelOffset + y * RowBytes];
        for (int x = 0; x < RowBytes; ++x)
            row[x] = char((variant * 37 + x) & 0xff);
    }
}

// A thermal picture with sensor noise: a smooth field of palette indices that moves with the
// variant, each pixel off by a uniform -3..+3 steps, drawn in the iron palette.
void paintNoisy(std::string &b, int variant)
{
    const QVector<QRgb> &palette = ThermalPalette::iron();
    std::vector<double> across(Width), down(Height);
    for (int x = 0; x < Width; ++x)
        across[size_t(x)] = std::sin(x * 0.021 + variant * 0.13);
    for (int y = 0; y < Height; ++y)
        down[size_t(y)] = std::cos(y * 0.027 + variant * 0.07);
    quint32 noise = 2463534242u + quint32(variant) * 2654435761u;
    for (int y = 0; y < Height; ++y) {
        char *row = &b[PixelOffset + y * RowBytes];
        for (int x = 0; x < Width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int field = 128 + int(110 * across[size_t(x)] * down[size_t(y)]);
            const int index = std::clamp(field + int(noise % 7) - 3, 0, 255);
            const QRgb colour = palette[index];
            row[3 * x] = char(qBlue(colour));
            row[3 * x + 1] = char(qGreen(colour));
            row[3 * x + 2] = char(qRed(colour));
        }
    }
}

void paint(std::string &b, int variant, CardMaker::Scene scene)
{
    if (scene == CardMaker::Scene::Noisy)
        paintNoisy(b, variant);
    else
        vary(b, variant);
}

bool writeBytes(const std::string &path, const char *data, size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += size_t(n);
    }
    return ::close(fd) == 0;
}

bool makeDir(const std::string &path)
{
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

std::string markerText(int pictures, CardMaker::Scene scene)
{
    std::ostringstream s;
    s << "version " << MarkerVersion << " pictures " << pictures
      << (scene == CardMaker::Scene::Noisy ? " noisy" : " generated") << "\n";
    return s.str();
}

std::string numbered(const char *prefix, int n, int width)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%0*d", prefix, width, n);
    return buf;
}

} // namespace

std::string CardMaker::picture(int variant, Scene scene)
{
    std::string b = pictureTemplate();
    paint(b, variant, scene);
    return b;
}

bool CardMaker::ensure(const std::string &root, int pictures, Scene scene, Counts *counts,
                       bool *made)
{
    const auto start = std::chrono::steady_clock::now();
    const int folders = (pictures + PerFolder - 1) / PerFolder;
    *counts = Counts();
    counts->pictures = pictures;
    counts->folders = folders;
    // Per folder: one short .bmp, one .bmp with the wrong header value, a picture named .jpg,
    // a picture named .bmp.txt; plus the hidden folder's 20 pictures and one hidden file.
    counts->decoys = folders * 4 + 20 + 1;
    *made = false;

    const std::string marker = root + "/" + MarkerName;
    {
        std::ifstream in(marker);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (text == markerText(pictures, scene))
            return true;
    }
    if (std::system(("rm -rf '" + root + "'").c_str()) != 0)
        return false;
    if (!makeDir(root) || !makeDir(root + "/DCIM") || !makeDir(root + "/.trash"))
        return false;

    std::string bytes = pictureTemplate();
    std::string wrongHeader = pictureTemplate();
    put32(wrongHeader, 2, HeaderFileSize + 1);
    int written = 0;
    for (int f = 0; f < folders; ++f) {
        const std::string dir = root + "/DCIM/" + numbered("F", f, 4);
        if (!makeDir(dir))
            return false;
        for (int i = 0; i < PerFolder && written < pictures; ++i, ++written) {
            paint(bytes, written, scene);
            // Mixed case suffixes: the match ignores case.
            const char *suffix = (i % 7 == 3) ? ".bmp" : ".BMP";
            if (!writeBytes(dir + "/" + numbered("IMG", written, 6) + suffix, bytes.data(),
                            bytes.size()))
                return false;
        }
        if (!writeBytes(dir + "/SHORT.BMP", bytes.data(), 300000)
            || !writeBytes(dir + "/WRONGHDR.BMP", wrongHeader.data(), wrongHeader.size())
            || !writeBytes(dir + "/PHOTO.JPG", bytes.data(), bytes.size())
            || !writeBytes(dir + "/NOTE.BMP.TXT", bytes.data(), bytes.size()))
            return false;
    }
    for (int i = 0; i < 20; ++i) {
        if (!writeBytes(root + "/.trash/" + numbered("OLD", i, 4) + ".BMP", bytes.data(),
                        bytes.size()))
            return false;
    }
    if (!writeBytes(root + "/DCIM/.HIDDEN.BMP", bytes.data(), bytes.size()))
        return false;
    const std::string text = markerText(pictures, scene);
    if (!writeBytes(marker, text.data(), text.size()))
        return false;
    *made = true;
    counts->seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return true;
}
