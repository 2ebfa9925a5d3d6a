#include "platform/SiblingProgram.h"

#include "platform/ExeFolder.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace fmb {

int RunSiblingProgram(const std::string& name, const std::vector<std::string>& args,
                      std::error_code& error) {
    const std::string program = GetExeFolder() + name;
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (const int code =
            ::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ)) {
        error.assign(code, std::generic_category());
        return -1;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            error.assign(errno, std::generic_category());
            return -1;
        }
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

} // namespace fmb
