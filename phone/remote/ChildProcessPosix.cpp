#include "phone/remote/ChildProcess.h"

#include "phone/Error.h"
#include "phone/remote/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <string_view>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace phone::remote {

struct ChildProcess::Impl
{
    pid_t pid = -1;
    bool reaped = false;
};

namespace {

std::vector<std::string> mergedEnvironment(const Environment &extra)
{
    std::vector<std::string> merged;
    for (char **entry = environ; *entry; ++entry) {
        const std::string_view text(*entry);
        const std::string_view name = text.substr(0, text.find('='));
        const bool replaced = std::any_of(extra.begin(), extra.end(),
                                          [&](const auto &pair) { return pair.first == name; });
        if (!replaced)
            merged.emplace_back(text);
    }
    for (const auto &[name, value] : extra)
        merged.push_back(name + "=" + value);
    return merged;
}

std::vector<char *> pointers(std::vector<std::string> &texts)
{
    std::vector<char *> result;
    for (std::string &text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

// posix_spawn's attribute and file-action objects, destroyed on every path.
struct SpawnSetup
{
    posix_spawn_file_actions_t actions{};
    posix_spawnattr_t attributes{};
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
};

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string> &arguments,
                           const Environment &environment, Handle input, Handle output)
    : m_impl(std::make_unique<Impl>())
{
    requireProgram(arguments);

    // Our ends are close-on-exec; the copies on 0 and 1 are not, so only they are inherited.
    SpawnSetup setup;
    posix_spawn_file_actions_adddup2(&setup.actions, input.native(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, output.native(), STDOUT_FILENO);
    // The child starts with default signal handling, whatever this process ignores.
    sigset_t all;
    sigfillset(&all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&setup.attributes, &all);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<std::string> argumentTexts = arguments;
    std::vector<std::string> environmentTexts = mergedEnvironment(environment);
    std::vector<char *> argv = pointers(argumentTexts);
    std::vector<char *> envp = pointers(environmentTexts);
    const bool searchPath = arguments.front().find('/') == std::string::npos;
    const int status = searchPath ? posix_spawnp(&m_impl->pid, argv[0], &setup.actions,
                                                 &setup.attributes, argv.data(), envp.data())
                                  : posix_spawn(&m_impl->pid, argv[0], &setup.actions,
                                                &setup.attributes, argv.data(), envp.data());
    if (status != 0)
        throw Error(ErrorKind::Component,
                    startFailure(arguments, systemReason(static_cast<unsigned long>(status))));
}

ChildProcess::~ChildProcess()
{
    kill();
}

bool ChildProcess::waitFor(std::chrono::milliseconds limit)
{
    if (m_impl->reaped)
        return true;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(m_impl->pid, &status, WNOHANG);
        if (done == m_impl->pid || (done < 0 && errno != EINTR)) {
            m_impl->reaped = true;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void ChildProcess::kill() noexcept
{
    if (m_impl->reaped)
        return;
    ::kill(m_impl->pid, SIGKILL);
    int status = 0;
    while (::waitpid(m_impl->pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_impl->reaped = true;
}

} // namespace phone::remote
