// zusoundpack: builds a sound pack from a folder of WAV files with the framework's own
// zuSound::MakePack (on the headless backend, so the pack is the one a program would make), or
// lists a pack's entries.
//
//   zusoundpack [--append] FOLDER PACK    every FOLDER/*.WAV into PACK (anew unless --append)
//   zusoundpack --list PACK               name, sizes and format of every entry
//
// Exit status: 0 done; 1 a file was skipped, none was found or the pack is unreadable; 2 wrong
// arguments.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/os/files.h"
#include "platform/sjis.h"
#include "sound/pack_entry.h"
#include "sound/sound_internal.h"
#include "sound/zu_sound.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: zusoundpack [--append] FOLDER PACK\n       zusoundpack --list PACK\n");
    return 2;
}

// The framework path of a host path, relative to the root, which stands in as the program folder.
bool fromRoot(const char* hostPath, std::string& out) {
    std::string absolute = std::filesystem::absolute(hostPath).lexically_normal().string();
    while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
    if (!platform::utf8ToSjis(absolute.substr(1), out)) return false;
    std::replace(out.begin(), out.end(), '/', '\\');
    return true;
}

// Why AddToPack entered nothing, or an empty entry, for the WAV at `path`.
const char* whySkipped(const char* path) {
    std::vector<uint8_t> format, data;
    if (zuSound::ReadWave((std::string("\\") + path).c_str(), format, data) != 0)
        return "not a readable WAV (entered empty; loads refuse it)";
    const size_t slash = platform::sjisFindLast(path, '\\');
    if (std::strlen(path) - (slash + 1) > zuSound::detail::entryNameLimit) return "name too long for a pack";
    return "the pack cannot be written";
}

int pack(const char* folder, const char* packPath, bool append) {
    std::string folderName, packName;
    if (!fromRoot(folder, folderName) || !fromRoot(packPath, packName)) {
        std::fprintf(stderr, "zusoundpack: a path has no Shift-JIS form\n");
        return 1;
    }
    int skipped = 0, seen = 0;
    zuSound::detail::makePack(packName.c_str(), folderName.c_str(), append ? 0 : 1,
                              [&](const char* path, int32_t added) {
                                  ++seen;
                                  const std::string shown = std::string(folder) + "/" + platform::sjisToUtf8(path + folderName.size() + 1);
                                  if (added) {
                                      std::printf("written %s\n", shown.c_str());
                                      return;
                                  }
                                  ++skipped;
                                  std::printf("skipped %s: %s\n", shown.c_str(), whySkipped(path));
                              });
    if (seen == 0) std::fprintf(stderr, "zusoundpack: no *.WAV file in %s\n", folder);
    return skipped || seen == 0 ? 1 : 0;
}

int list(const char* packPath) {
    std::FILE* file = std::fopen(packPath, "rb");
    if (!file || std::fseek(file, 0, SEEK_END) != 0) {
        std::fprintf(stderr, "zusoundpack: cannot read %s\n", packPath);
        if (file) std::fclose(file);
        return 1;
    }
    const long end = std::ftell(file);
    std::rewind(file);
    zuSound::detail::EntryHead head;
    while (end >= 0 && zuSound::detail::readEntryHead(file, uint64_t(end), head)) {
        std::vector<uint8_t> bytes(head.formatSize);
        platform::WaveFormat wave;
        const bool read = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        const bool described = read && head.formatSize >= 18 && platform::waveFormatFromBytes(bytes.data(), head.formatSize, wave);
        std::printf("%s  %u data bytes  %u format bytes", platform::sjisToUtf8(head.name).c_str(), head.dataSize, head.formatSize);
        if (described) std::printf("  %u Hz %u-bit %u ch", wave.nSamplesPerSec, wave.wBitsPerSample, wave.nChannels);
        std::printf("\n");
        if (std::fseek(file, long(head.dataSize), SEEK_CUR) != 0) break;
    }
    const bool whole = std::ftell(file) == end;
    std::fclose(file);
    if (!whole) std::fprintf(stderr, "zusoundpack: %s ends inside an entry\n", packPath);
    return whole ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--list") return list(args[1].c_str());
    const bool append = !args.empty() && args[0] == "--append";
    if (append) args.erase(args.begin());
    if (args.size() != 2 || args[0].starts_with("--")) return usage();
    platform::HeadlessOptions options;
    options.audio = false;
    platform::useHeadless(options);
    platform::setModuleFileName("\\zusoundpack");  // the root is the program folder
    return pack(args[0].c_str(), args[1].c_str(), append);
}
