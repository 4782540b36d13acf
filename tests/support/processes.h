// Whether a process has ended: gone, or a zombie nobody has reaped yet,
// within two seconds.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace tabulo::testing {

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

}  // namespace tabulo::testing
