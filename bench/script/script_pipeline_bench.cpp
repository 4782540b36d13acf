// A script run's pipeline against the same interpreter started from a shell:
// 1,000,000 Shift-JIS lines through gawk '{print $2}'. The pipeline time runs
// from the command to the complete result file: the document lines written
// as the target, gawk run from its argument list in the ja_JP.SJIS locale,
// the result assembled with the document's CR LF breaks (the second copy's
// load is not part of it). The shell time is the same gawk on the same
// target file, in the same locale, with its output redirected to a file.
// Usage: script_pipeline_bench [LINES]   (default 1,000,000)
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "script/engine/interpreter_command.h"
#include "script/engine/result_assembly.h"
#include "script/engine/script_runner.h"
#include "script/engine/script_work_files.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tabulo::script;

std::vector<std::string> makeLines(int count) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        // 表示 テキスト, a field holding trail bytes 0x5C and 0x7C, a number.
        lines.push_back("\x95\x5C\x8E\xA6 \x83\x5C\x83\x7C" + std::to_string(i) + " \x83\x65\x83\x4C\x83\x58\x83\x67 " +
                        std::to_string(i * 7) + " tail of the sample line");
    }
    return lines;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// CPU seconds (user + system) of this process and of its reaped children.
double cpuSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    const auto of = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return of(usage.ru_utime) + of(usage.ru_stime);
}

double cpuSeconds() { return cpuSeconds(RUSAGE_SELF) + cpuSeconds(RUSAGE_CHILDREN); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (!sjisLocaleInstalled()) {
        std::fprintf(stderr, "the ja_JP.SJIS locale is not installed\n");
        return 1;
    }
    const std::string folder = std::filesystem::temp_directory_path().string() + "/tabulo-script-bench/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const ScriptWorkFiles files = scriptWorkFiles(folder, ScriptMode::Awk);
    {
        TargetFileWriter script(files.script);
        script.addBytes("{print $2}\n");
        script.finish();
    }
    const std::vector<std::string> lines = makeLines(count);
    const DocumentLines document{count, [&lines](int i) -> const std::string& { return lines[static_cast<std::size_t>(i)]; }};
    const ScriptCommand command{ScriptMode::Awk, "gawk", files.script, {}, ArgumentPlacement::Tail, files.target};
    const std::vector<std::string> environment = interpreterEnvironment(ScriptMode::Awk, true);
    const std::string shellCommand = "LC_ALL=ja_JP.SJIS gawk '{print $2}' '" + files.target + "' > '" + folder +
                                     "shell.out'";

    std::vector<double> pipeline, ownWork, writeTarget, interpreter, assemble, shell, pipelineCpu, shellCpu;
    // The first run writes fresh work files; the later ones write over the
    // files of the run before, as repeated runs on a document do.
    double firstRun = 0;
    constexpr int kRounds = 22;
    for (int round = 0; round < kRounds; ++round) {
        const double cpuStart = cpuSeconds();
        const auto start = Clock::now();
        writeTargetFiles(files, document, 0, count - 1);
        const auto written = Clock::now();
        FollowingAssembly assembly(files, "\r\n");
        const ScriptRunOutcome outcome = runScriptCommand(command, environment, files.output, {});
        const auto ran = Clock::now();
        assembly.finish();
        const auto end = Clock::now();
        if (outcome.failed()) {
            std::fprintf(stderr, "gawk failed: %s\n", outcome.errorText.c_str());
            return 1;
        }
        if (round == 0) {
            firstRun = seconds(end - start);
            continue;
        }
        pipeline.push_back(seconds(end - start));
        pipelineCpu.push_back(cpuSeconds() - cpuStart);
        writeTarget.push_back(seconds(written - start));
        interpreter.push_back(seconds(ran - written));
        ownWork.push_back(seconds((written - start) + (end - ran)));
        assemble.push_back(seconds(end - ran));

        // A fresh output file, as the pipeline's: writing over a truncated one
        // would make the file system flush it when gawk closes it.
        std::filesystem::remove(folder + "shell.out");
        const double shellCpuStart = cpuSeconds();
        const auto shellStart = Clock::now();
        const int status = std::system(shellCommand.c_str());
        shell.push_back(seconds(Clock::now() - shellStart));
        shellCpu.push_back(cpuSeconds() - shellCpuStart);
        if (status != 0) return 1;
    }
    const double p = median(pipeline);
    const double s = median(shell);
    std::printf("%d lines, %.1f MB target, result %.1f MB (medians of %d runs after the first)\n", count,
                static_cast<double>(fileSize(files.target)) / 1e6, static_cast<double>(fileSize(files.result)) / 1e6, kRounds - 1);
    std::printf("%-44s %8.3f s\n", "pipeline, command to complete TT.txt", p);
    std::printf("%-44s %8.3f s\n", "  the first run, fresh work files", firstRun);
    std::printf("%-44s %8.3f s\n", "  target files written", median(writeTarget));
    std::printf("%-44s %8.3f s\n", "  gawk from its argument list", median(interpreter));
    std::printf("%-44s %8.3f s\n", "  result completed after gawk (CR LF)", median(assemble));
    std::printf("%-44s %8.3f s\n", "gawk from /bin/sh, same locale and file", s);
    std::printf("%-44s %+7.1f %%   (goal: under +20 %%)\n", "pipeline over the shell's gawk", (p / s - 1) * 100);
    // gawk's own time varies from run to run far more than the pipeline's
    // work around it does; this is the part the pipeline adds by itself.
    std::printf("%-44s %+7.1f %%\n", "pipeline's own work over the shell's gawk", median(ownWork) / s * 100);
    const double pc = median(pipelineCpu);
    const double sc = median(shellCpu);
    std::printf("%-44s %8.3f s\n", "CPU (user + system), pipeline with gawk", pc);
    std::printf("%-44s %8.3f s\n", "CPU (user + system), shell with gawk", sc);
    std::printf("%-44s %+7.1f %%\n", "pipeline's CPU over the shell's", (pc / sc - 1) * 100);
    std::filesystem::remove_all(folder);
    return 0;
}
