// Watching processes from a test through /proc: whether one has ended, and
// which child another has started.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

namespace tabulo::testing {

// Gone, or a zombie nobody has reaped yet, within two seconds.
inline bool processEnds(pid_t pid) {
    for (int i = 0; i < 200; ++i) {
        if (::kill(pid, 0) != 0) return true;
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const auto close = text.rfind(')');
        if (close != std::string::npos && text.compare(close, 3, ") Z") == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The child of `parent` running the program `command` (its name as /proc
// gives it), once there is one within five seconds; -1 when none came.
inline pid_t childRunning(pid_t parent, std::string_view command) {
    const std::string wanted = "(" + std::string(command) + ")";
    for (int i = 0; i < 500; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            const std::string name = entry.path().filename();
            if (name.find_first_not_of("0123456789") != std::string::npos) continue;
            std::ifstream stat(entry.path() / "stat");
            const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
            const auto close = text.rfind(')');
            if (close == std::string::npos) continue;
            std::istringstream fields(text.substr(close + 2));
            std::string state;
            pid_t ofParent = 0;
            fields >> state >> ofParent;
            if (ofParent == parent && text.find(wanted) != std::string::npos) return std::stoi(name);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

}  // namespace tabulo::testing
