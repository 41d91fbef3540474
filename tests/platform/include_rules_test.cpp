// The include graph of src/: each folder includes only the folders below it, nothing outside the
// platform reaches a backend or the platform's private headers, and no header includes itself
// back through a chain.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Folders = std::set<std::string>;

Folders operator+(Folders a, const Folders& b) {
    a.insert(b.begin(), b.end());
    return a;
}

const Folders subsystems = {"platform", "platform/os", "platform/video", "platform/text", "platform/audio"};
const Folders framework = {"system", "draw", "draw/effects", "sound", "input"};

// Headers private to the platform and its backends.
const std::set<std::string> platformPrivate = {"platform/backend.h", "platform/headless.h", "platform/faults.h"};

std::string folderOf(const std::string& path) { return fs::path(path).parent_path().generic_string(); }

TEST(IncludeRules, EachFolderIncludesOnlyWhatItMayUseAndHeadersFormNoCycle) {
    // Every "..." include of every source file under src/, by path relative to src/.
    const fs::path root = fs::path(ZU_SOURCE_DIR) / "src";
    const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::map<std::string, std::vector<std::string>> graph;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!std::set<fs::path>{".cpp", ".h", ".inl"}.count(entry.path().extension())) continue;
        std::string file = fs::relative(entry.path(), root).generic_string();
        std::ifstream in(entry.path());
        auto& edges = graph[file];
        for (std::string line; std::getline(in, line);) {
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            // Public headers name each other relative to themselves ("../platform/types.h").
            std::string header = m[1];
            if (header.rfind("../", 0) == 0)
                header = (fs::path(file).parent_path() / header).lexically_normal().generic_string();
            edges.push_back(header);
        }
    }
    // What each folder may include, by folder; every framework folder may use the whole framework.
    std::map<std::string, Folders> rules = {
        {"platform", {"platform"}},
        {"platform/os", {"platform", "platform/os"}},
        {"platform/video", {"platform", "platform/os", "platform/video"}},
        {"platform/text", {"platform", "platform/os", "platform/video", "platform/text"}},
        {"platform/audio", {"platform", "platform/os", "platform/audio"}},
        {"platform/sdl", subsystems + Folders{"platform/sdl"}},
        {"platform/headless", subsystems + Folders{"platform/headless"}},
        {"game", subsystems + framework + Folders{"game"}},
    };
    for (const std::string& folder : framework) rules[folder] = subsystems + framework;
    ASSERT_GT(graph.size(), 50u) << "the scan found the sources";
    for (const auto& [file, includes] : graph) {
        const std::string folder = folderOf(file);
        auto rule = rules.find(folder);
        ASSERT_NE(rule, rules.end()) << file << ": a folder with no include rule";
        if (file == "platform/main.cpp") continue;  // it chooses the backend, so it may name their controls
        for (const auto& header : includes) {
            EXPECT_EQ(rule->second.count(folderOf(header)), 1u) << file << " includes " << header;
            EXPECT_TRUE(folder.rfind("platform", 0) == 0 || !platformPrivate.count(header)) << file << " includes " << header;
        }
    }

    enum Mark { unseen, open, done };
    std::map<std::string, Mark> marks;
    std::vector<std::string> path;
    std::function<void(const std::string&)> visit = [&](const std::string& file) {
        marks[file] = open;
        path.push_back(file);
        for (const auto& next : graph[file]) {
            if (marks[next] == open) {
                std::string chain;
                for (const auto& p : path) chain += p + " -> ";
                ADD_FAILURE() << "include cycle: " << chain << next;
            } else if (marks[next] == unseen && graph.count(next)) {
                visit(next);
            }
        }
        path.pop_back();
        marks[file] = done;
    };
    for (const auto& [file, includes] : graph)
        if (marks[file] == unseen) visit(file);
}

}  // namespace
