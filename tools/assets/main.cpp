// zuassets <outdir>: writes every picture, sound and tune of the game, and its icons, into
// <outdir> (BMP/, SOUND/, MOD/, MAIN.BMP, tessora.png); zuassets --show <outdir> the showcase's
// data (assets/show_data.h). Same bytes on every run.
#include <cstdio>
#include <filesystem>
#include <string>

#include "assets/output.h"
#include "assets/pictures.h"
#include "assets/show_data.h"
#include "assets/synth.h"
#include "assets/tune.h"

namespace {

bool writeAll(const std::filesystem::path& out) {
    using namespace assets;
    std::error_code error;
    for (const char* folder : {"BMP", "SOUND", "MOD"}) std::filesystem::create_directories(out / folder, error);
    bool ok = writePicture(out / "BMP/RGB.BMP", cellSheet());
    ok = writePicture(out / "BMP/BG.BMP", background()) && ok;
    ok = writePicture(out / "BMP/MOUSE.BMP", pointer()) && ok;
    ok = writePicture(out / "BMP/TITLE.BMP", titlePicture()) && ok;
    ok = writePicture(out / "BMP/CLICK.BMP", clickPrompt()) && ok;
    ok = writePicture(out / "BMP/STAGE.BMP", stageLabel()) && ok;
    ok = writePicture(out / "BMP/THEEND.BMP", theEnd()) && ok;
    ok = writeBytes(out / "SOUND/CATCH.WAV", waveFile(pluck())) && ok;
    ok = writeBytes(out / "SOUND/FILL.WAV", waveFile(chime())) && ok;
    ok = writeBytes(out / "SOUND/WIN.WAV", waveFile(risingArpeggio())) && ok;
    ok = writeBytes(out / "MOD/BGM.XM", writeXm(backgroundTune())) && ok;
    ok = writeBytes(out / "MAIN.BMP", iconBmp(icon(32))) && ok;
    ok = writeIconPng(out / "tessora.png", icon(128)) && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--show") return assets::writeShowData(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: zuassets [--show] <outdir>\n");
        return 2;
    }
    if (!writeAll(argv[1])) {
        std::fprintf(stderr, "zuassets: could not write every file into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
