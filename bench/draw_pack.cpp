// Loading a picture from a draw pack against loading the same picture from a 24-bit BMP file:
// the last of 100 full-screen entries, so the search's steps past 99 entries are counted too.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "draw/zu_draw.h"
#include "draw_setup.h"
#include "platform/os/files.h"
#include "ratio.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t width = 640, height = 480, entryCount = 100;
const char* const lastEntry = "P099.BMP";

uint32_t red(int32_t x, int32_t) { return uint32_t(x * 255 / (width - 1)); }
uint32_t green(int32_t, int32_t y) { return uint32_t(y * 255 / (height - 1)); }
uint32_t blue(int32_t x, int32_t y) { return uint32_t((x ^ y) & 255); }

void put(std::ofstream& out, uint32_t value, int32_t bytes) {
    for (int32_t i = 0; i < bytes; ++i) out.put(char(value >> (8 * i)));
}

void writePack(const fs::path& path) {
    std::ofstream out(path, std::ios::binary);
    std::vector<char> pixels;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint32_t v = red(x, y) >> 3 << 10 | green(x, y) >> 3 << 5 | blue(x, y) >> 3;
            pixels.insert(pixels.end(), {char(v), char(v >> 8)});
        }
    for (int32_t i = 0; i < entryCount; ++i) {
        put(out, width, 2);
        put(out, height, 2);
        char name[16];
        std::snprintf(name, sizeof name, "P%03d.BMP", i);
        out.write(name, std::streamsize(std::strlen(name) + 1));
        out.write(pixels.data(), std::streamsize(pixels.size()));
    }
}

void writeBmp24(const fs::path& path) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t pixelBytes = width * height * 3;  // rows of 1920 bytes need no padding
    out.write("BM", 2);
    put(out, 54 + pixelBytes, 4), put(out, 0, 4), put(out, 54, 4);
    put(out, 40, 4), put(out, width, 4), put(out, height, 4), put(out, 1, 2), put(out, 24, 2);
    put(out, 0, 4), put(out, pixelBytes, 4), put(out, 2835, 4), put(out, 2835, 4), put(out, 0, 4), put(out, 0, 4);
    for (int32_t y = height - 1; y >= 0; --y)
        for (int32_t x = 0; x < width; ++x) put(out, blue(x, y) | green(x, y) << 8 | red(x, y) << 16, 3);
}

// The pack and the BMP in a folder of their own, made on first use and removed at exit.
struct Files {
    fs::path folder = fs::temp_directory_path() / ("zubench-pack-" + std::to_string(::getpid()));
    Files() {
        fs::create_directories(folder);
        writePack(folder / "PICS.PAK");
        writeBmp24(folder / lastEntry);
    }
    ~Files() { fs::remove_all(folder); }
};

// Stands the program in the benchmark's folder for one case.
struct ProgramInFolder {
    ProgramInFolder() {
        static const Files files;
        std::string path = (files.folder / "prog").string();
        for (char& c : path)
            if (c == '/') c = '\\';
        platform::setModuleFileName(path.c_str());
    }
    ~ProgramInFolder() { platform::setModuleFileName(""); }
};

void BM_LoadPackLastOf100(benchmark::State& state) {
    drawbench::scene();
    ProgramInFolder program;
    zuDraw::SetPackFile("PICS.PAK");
    for (auto _ : state) {
        int32_t number = zuDraw::LoadPack(lastEntry, 2);
        if (number == 0) return state.SkipWithError("the entry did not load");
        zuDraw::ReleaseObject(number);
    }
}
BENCHMARK(BM_LoadPackLastOf100);

void BM_LoadObjectBmp24(benchmark::State& state) {
    drawbench::scene();
    ProgramInFolder program;
    for (auto _ : state) {
        int32_t number = zuDraw::LoadObject(lastEntry, 2);
        if (number == 0) return state.SkipWithError("the picture did not load");
        zuDraw::ReleaseObject(number);
    }
}
BENCHMARK(BM_LoadObjectBmp24);

}  // namespace

ZU_RATIO(BM_LoadPackLastOf100, BM_LoadObjectBmp24, 1.0, "LoadPack of the 100th 640x480 entry vs LoadObject of its 24-bit BMP");
