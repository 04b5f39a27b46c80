// The service's command line: --listen ADDR:PORT, --threads N, --help, --version.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ServiceSettings {
    std::string address = "127.0.0.1";
    std::uint16_t port = 8936;
    int threads = 1;
};

struct CommandLine {
    enum class Action { Run, Help, Version, Fail };
    Action action = Action::Run;
    ServiceSettings settings;
    std::string error;  // what was wrong, for Fail
};

// `arguments` excludes the program name. `defaultThreads` is used without --threads.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, int defaultThreads);

std::string UsageText();
