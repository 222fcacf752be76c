#include "freshprocess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char **environ;

long residentPeakKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    throw std::runtime_error("no VmHWM in /proc/self/status");
}

double processCpuSeconds()
{
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return double(used.tv_sec) + double(used.tv_nsec) / 1e9;
}

LoadFigures runLoadInChild(const std::vector<std::string> &arguments)
{
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);

    std::string program = "/proc/self/exe";
    std::vector<char *> argv{program.data()};
    std::vector<std::string> copies = arguments;
    for (std::string &argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0) {
        close(output[0]);
        throw std::runtime_error(std::string("posix_spawn: ") + std::strerror(spawned));
    }

    std::string printed;
    char buffer[256];
    for (ssize_t n; (n = read(output[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        printed.append(buffer, std::size_t(n));
    }
    close(output[0]);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    LoadFigures load;
    std::istringstream figures(printed);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0
        || !(figures >> load.beforeKiB >> load.peakKiB >> load.seconds >> load.cpuSeconds))
        throw std::runtime_error("the child that loads failed: " + printed);
    return load;
}
