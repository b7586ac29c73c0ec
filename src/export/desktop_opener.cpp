#include "export/desktop_opener.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "textio/error.h"
#include "textio/system_reason.h"

extern char** environ;

namespace tulmera::exports {
namespace {

constexpr const char* kDefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";  // when PATH is unset

// The full path of the executable `program` on `searchPath`, or empty.
std::string FindProgram(std::string_view program, std::string_view searchPath)
{
    while (true) {
        const std::size_t colon = searchPath.find(':');
        std::string directory(searchPath.substr(0, colon));
        if (directory.empty()) directory = ".";  // an empty entry is the current directory
        const std::string candidate = directory + "/" + std::string(program);
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode)
            && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        if (colon == std::string_view::npos) return {};
        searchPath.remove_prefix(colon + 1);
    }
}

// Owns the attributes of one posix_spawn call.
class SpawnSetup {
public:
    SpawnSetup()
    {
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_adddup2(&actions, 1, 2);
        ::posix_spawnattr_init(&attributes);
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        ::posix_spawnattr_setsigmask(&attributes, &none);
        ::posix_spawnattr_setsigdefault(&attributes, &defaults);
        ::posix_spawnattr_setflags(
            &attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup()
    {
        ::posix_spawnattr_destroy(&attributes);
        ::posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions{};
    posix_spawnattr_t attributes{};
};

// Starts `command` (a full program path and its arguments) so that it does not stay our child:
// a shell in a new session starts it in the background and ends at once, and only the shell is
// waited for. The program is then neither left a zombie nor ended with this process.
void StartDetached(const std::vector<std::string>& command)
{
    std::vector<std::string> arguments = {"sh", "-c", "\"$@\" &", "sh"};
    arguments.insert(arguments.end(), command.begin(), command.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    const SpawnSetup setup;
    pid_t shell = 0;
    const int error =
        ::posix_spawn(&shell, "/bin/sh", &setup.actions, &setup.attributes, argv.data(), environ);
    if (error != 0) {
        throw Error("Cannot start \"" + command.front() + "\": " + textio::SystemReason(error)
                    + ".");
    }
    int status = 0;
    while (::waitpid(shell, &status, 0) < 0) {
        if (errno != EINTR) {
            throw Error("Cannot follow the start of \"" + command.front()
                        + "\": " + textio::SystemReason(errno) + ".");
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw Error("Cannot start \"" + command.front() + "\": the shell that starts it failed.");
    }
}

}  // namespace

std::vector<std::string> DesktopSpreadsheetCommand(const std::string& path,
                                                   std::string_view searchPath)
{
    if (std::string calc = FindProgram("soffice", searchPath); !calc.empty()) {
        return {std::move(calc), "--calc", "-n", path};
    }
    if (std::string opener = FindProgram("xdg-open", searchPath); !opener.empty()) {
        return {std::move(opener), path};
    }
    return {};
}

void OpenInDesktopSpreadsheet(const std::string& path)
{
    const char* searchPath = std::getenv("PATH");
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::vector<std::string> command = DesktopSpreadsheetCommand(
        error ? path : absolute.string(), searchPath != nullptr ? searchPath : kDefaultSearchPath);
    if (command.empty()) {
        throw Error(
            "No spreadsheet program was found to show it: neither LibreOffice (\"soffice\") nor "
            "the desktop's opener (\"xdg-open\") is on the PATH.");
    }
    StartDetached(command);
}

}  // namespace tulmera::exports
