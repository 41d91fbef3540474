// zudrawpack: packs the BMP files of a folder into a draw pack with the framework's own
// zuDraw::Convert on the headless backend, so its packs are byte for byte a program's.
//   zudrawpack [--append] FOLDER PACK   writes PACK afresh (or adds to it), one line per file
//   zudrawpack --list PACK              prints each entry: name, width x height
// Exits 1 when a file was skipped or the pack is cut short, 2 on a usage or path error.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "draw/pack_reader.h"
#include "draw/zu_draw.h"
#include "platform/headless.h"
#include "platform/os/files.h"
#include "platform/sjis.h"

namespace {

namespace fs = std::filesystem;

int32_t skipped = 0;
int32_t boxesSeen = 0;  // message boxes shown before the current file

int usage() {
    std::fprintf(stderr, "usage: zudrawpack [--append] FOLDER PACK\n       zudrawpack --list PACK\n");
    return 2;
}

// The framework's form of a host path: Shift-JIS with '\'. False when it has none.
bool frameworkPath(const fs::path& host, std::string& out) {
    if (!platform::utf8ToSjis(host.string(), out)) return false;
    for (char& c : out)
        if (c == '/') c = '\\';
    return true;
}

// Why a file was skipped: the error the framework reported for it, if any.
std::string skipReason() {
    if (platform::headless::messageBoxCount() == boxesSeen) return "the pack cannot be written";
    std::string box = platform::headless::lastMessageBox();  // "<title>: <operation> : <message>"
    size_t cut = box.find(": ");
    return cut == std::string::npos ? box : box.substr(cut + 2);
}

void reportFile(const char* path, int32_t written) {
    std::string name = platform::sjisToUtf8(path);
    if (written) {
        std::printf("written %s\n", name.c_str());
    } else {
        std::printf("skipped %s: %s\n", name.c_str(), skipReason().c_str());
        ++skipped;
    }
    boxesSeen = platform::headless::messageBoxCount();
}

int listPack(const char* hostPack) {
    FILE* pack = std::fopen(hostPack, "rb");
    if (!pack) return std::fprintf(stderr, "zudrawpack: cannot open %s\n", hostPack), 1;
    std::fseek(pack, 0, SEEK_END);
    const int64_t size = std::ftell(pack);
    std::fseek(pack, 0, SEEK_SET);
    zuDraw::PackEntry entry;
    while (zuDraw::readPackEntry(pack, entry) && zuDraw::skipPackPixels(pack, entry, size))
        std::printf("%s %dx%d\n", platform::sjisToUtf8(entry.name).c_str(), entry.width, entry.height);
    const bool whole = std::ftell(pack) == size;
    std::fclose(pack);
    if (!whole) std::fprintf(stderr, "zudrawpack: %s is cut short or damaged after the entries listed\n", hostPack);
    return whole ? 0 : 1;
}

// The program's folder is made the folder itself, so the names LoadObject sees are the files'
// own, and the pack is named relative to it.
int packFolder(const char* hostFolder, const char* hostPack, bool append) {
    std::error_code error;
    const fs::path folder = fs::absolute(hostFolder, error).lexically_normal();
    if (error || !fs::is_directory(folder)) return std::fprintf(stderr, "zudrawpack: %s is no folder\n", hostFolder), 2;
    const fs::path pack = fs::absolute(hostPack, error).lexically_normal().lexically_relative(folder);
    std::string moduleFile, packName;
    if (error || pack.empty() || !frameworkPath(folder / "zudrawpack", moduleFile) || !frameworkPath(pack, packName))
        return std::fprintf(stderr, "zudrawpack: %s or %s cannot be named\n", hostFolder, hostPack), 2;
    platform::setModuleFileName(moduleFile.c_str());
    boxesSeen = platform::headless::messageBoxCount();
    if (!zuDraw::Convert(packName.c_str(), "", append ? 0 : 1, reportFile)) return 1;
    return skipped == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    platform::HeadlessOptions options;
    options.desktopBits = 32;  // colours are read back unreduced
    platform::useHeadless(options);
    if (argc == 3 && std::strcmp(argv[1], "--list") == 0) return listPack(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "--append") == 0) return packFolder(argv[2], argv[3], true);
    if (argc == 3 && argv[1][0] != '-') return packFolder(argv[1], argv[2], false);
    return usage();
}
