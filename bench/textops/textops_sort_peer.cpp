// Times the line sort against LC_ALL=C sort on the same generated files (mixed
// Japanese text, and log lines with long shared beginnings), in one run. Every contender runs as a child process that reads the file and writes
// the sorted text to a file; wall time is taken around the child and user,
// system time and peak memory (maximum resident set) come from wait4. Each
// figure is the best of several runs; the outputs must be byte-identical.
//
//   textops_sort_peer [--lines N] [--runs R] [--dir DIR]
//   textops_sort_peer --child-sort FILE     (internal: the core sort in a child)
//   textops_sort_peer --write-lines FILE N  (writes the N mixed lines, for other
//   textops_sort_peer --write-log-lines FILE N            benchmarks; or log lines)
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "sort_bench_lines.h"
#include "textops/document_text.h"
#include "textops/line_sort.h"

namespace {

struct Figures {
    double wall = 0;     // seconds
    double cpu = 0;      // user + system seconds
    long maxRssKb = 0;
};

// Runs argv with stdout redirected to outPath; returns its figures.
Figures runChild(const std::vector<std::string>& argv, const std::string& outPath, bool cLocale) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        std::exit(1);
    }
    if (pid == 0) {
        const int fd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0) _exit(126);
        if (cLocale) setenv("LC_ALL", "C", 1);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "textops_sort_peer: " << argv[0] << " failed\n";
        std::exit(1);
    }
    const auto end = std::chrono::steady_clock::now();
    Figures figures;
    figures.wall = std::chrono::duration<double>(end - start).count();
    figures.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    figures.maxRssKb = usage.ru_maxrss;
    return figures;
}

// Reads a whole file in one block of its exact size, as tabulo-cli sort does.
std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    std::string text(static_cast<std::size_t>(std::max<std::streamoff>(file.tellg(), 0)), '\0');
    file.seekg(0);
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    return text;
}

// The child: read the file in one block, sort it as views, write it out.
int childSort(const char* path) {
    const std::string text = readFile(path);
    const tabulo::textops::SortedText sorted(text, tabulo::textops::SortOrder::Ascending);
    std::ios::sync_with_stdio(false);
    tabulo::textops::writeDocumentText(std::cout, sorted, sorted.finalBreak());
    std::cout.flush();
    return std::cout ? 0 : 1;
}

// Writes text to DIR/lines.sjis, runs every contender on it and prints the
// table. Returns false when an output differs from sort's.
bool compareOnInput(const char* shape, const std::string& text, const std::filesystem::path& dir,
                    const std::string& self, int runs) {
    const std::string input = (dir / "lines.sjis").string();
    std::ofstream(input, std::ios::binary) << text;
    const std::size_t lineCount = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    std::printf("input: %zu Shift-JIS lines (%s), CR LF, %.1f MiB\n", lineCount, shape, text.size() / 1048576.0);

    struct Contender {
        std::string name;
        std::vector<std::string> argv;
        bool cLocale;
        Figures best;
    };
    std::vector<Contender> contenders = {
        {"textops SortedText", {self, "--child-sort", input}, false, {}},
        {"tabulo-cli sort", {TABULO_CLI_PATH, "sort", input}, false, {}},
        {"LC_ALL=C sort", {"sort", input}, true, {}},
    };
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < contenders.size(); ++i) {
            Contender& c = contenders[i];
            const Figures f = runChild(c.argv, (dir / ("out_" + std::to_string(i))).string(), c.cLocale);
            if (run == 0 || f.wall < c.best.wall) c.best.wall = f.wall;
            if (run == 0 || f.cpu < c.best.cpu) c.best.cpu = f.cpu;
            if (run == 0 || f.maxRssKb < c.best.maxRssKb) c.best.maxRssKb = f.maxRssKb;
        }
    }
    const std::string reference = readFile((dir / ("out_" + std::to_string(contenders.size() - 1))).string());
    for (std::size_t i = 0; i + 1 < contenders.size(); ++i) {
        if (readFile((dir / ("out_" + std::to_string(i))).string()) != reference) {
            std::fprintf(stderr, "textops_sort_peer: %s output differs from sort's\n", contenders[i].name.c_str());
            return false;
        }
    }

    const Figures& peer = contenders.back().best;
    std::printf("best of %d runs; ratios are sort's figure / ours (above 1: ours is faster or smaller)\n", runs);
    std::printf("%-20s %9s %9s %11s %11s %11s %11s\n", "contender", "wall s", "cpu s", "peak MiB", "wall ratio",
                "cpu ratio", "mem ratio");
    for (const Contender& c : contenders) {
        std::printf("%-20s %9.3f %9.3f %11.1f %10.2fx %10.2fx %10.2fx\n", c.name.c_str(), c.best.wall, c.best.cpu,
                    c.best.maxRssKb / 1024.0, peer.wall / c.best.wall, peer.cpu / c.best.cpu,
                    static_cast<double>(peer.maxRssKb) / static_cast<double>(c.best.maxRssKb));
    }
    std::printf("outputs identical: yes\n");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--child-sort") == 0) return childSort(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "--write-lines") == 0) {
        std::ofstream(argv[2], std::ios::binary) << tabulo::bench::makeSortLines(std::stoul(argv[3]));
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "--write-log-lines") == 0) {
        std::ofstream(argv[2], std::ios::binary) << tabulo::bench::makeLogLines(std::stoul(argv[3]));
        return 0;
    }

    std::size_t lines = 1000000;
    int runs = 3;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "tabulo_sort_bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--lines") == 0) lines = std::stoul(argv[i + 1]);
        else if (std::strcmp(argv[i], "--runs") == 0) runs = std::stoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
    }
    std::filesystem::create_directories(dir);
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    bool ok = compareOnInput("mixed Japanese text", tabulo::bench::makeSortLines(lines), dir, self, runs);
    std::printf("\n");
    ok = compareOnInput("log lines, long shared beginnings", tabulo::bench::makeLogLines(lines), dir, self, runs) && ok;
    return ok ? 0 : 1;
}
