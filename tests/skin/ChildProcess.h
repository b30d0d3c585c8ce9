#pragma once
// Runs a piece of a test in a forked child process, for failures that root (the user
// CI and the test command run as) cannot meet in its own process: a folder that
// cannot be written (the child drops to "nobody") and a write that fails mid-way
// (the child lowers RLIMIT_FSIZE with SIGXFSZ ignored, so writes fail with EFBIG).
#include <QByteArray>
#include <QFile>
#include <QString>

#include <csignal>
#include <cstdio>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

struct ChildOptions {
    bool dropToNobody = false;          // when running as root
    rlim_t fileSizeLimit = RLIM_INFINITY; // bytes a file may grow to
};

struct ChildResult {
    bool ran = false;   // the child reported back and exited normally
    std::string output; // what the body returned, or "exception: " + what()
};

// Runs body in a child and returns its text. The child never returns into the test
// framework: it leaves with _exit, so no destructor of the parent's objects runs twice.
inline ChildResult RunInChild(const std::function<std::string()>& body, ChildOptions options = {})
{
    uid_t nobodyUid = 65534;
    gid_t nobodyGid = 65534;
    if (const passwd* nobody = ::getpwnam("nobody")) {
        nobodyUid = nobody->pw_uid;
        nobodyGid = nobody->pw_gid;
    }
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        ::close(channel[0]);
        std::string text;
        bool ready = true;
        if (options.fileSizeLimit != RLIM_INFINITY) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
            ready = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        }
        if (ready && options.dropToNobody && ::geteuid() == 0)
            ready = ::setgroups(0, nullptr) == 0 && ::setgid(nobodyGid) == 0 && ::setuid(nobodyUid) == 0;
        if (!ready) {
            text = "child setup failed";
        } else {
            try {
                text = body();
            } catch (const std::exception& error) {
                text = std::string("exception: ") + error.what();
            } catch (...) {
                text = "exception";
            }
        }
        const char* data = text.data();
        std::size_t left = text.size();
        while (left > 0) {
            const ssize_t put = ::write(channel[1], data, left);
            if (put <= 0)
                break;
            data += put;
            left -= static_cast<std::size_t>(put);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    ChildResult result;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        result.output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.ran = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

// Lets "nobody" enter (and with mode 0777 also write) a folder made by root.
inline void SetMode(const QString& path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
}

// The whole file, or "<missing>" when it cannot be read.
inline std::string FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
