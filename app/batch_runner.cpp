#include "app/batch_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>

namespace qm {

namespace {

using TClock = std::chrono::steady_clock;

struct TChild {
    size_t Index = 0;
    int Fd = -1;
    TClock::time_point Start;
    std::string Output;
    bool TimedOut = false;
};

void WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

// Reads what a child has written so far; false at the end of its output.
bool Drain(TChild& child) {
    char buf[4096];
    for (;;) {
        const ssize_t n = read(child.Fd, buf, sizeof buf);
        if (n > 0) {
            child.Output.append(buf, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return n < 0 && errno == EAGAIN;
    }
}

TConvertReport Finish(const TChild& child, const std::string& input, int waitStatus,
                      double seconds) {
    TConvertReport report;
    if (!child.TimedOut && WIFEXITED(waitStatus) && FromJson(child.Output, report)) return report;
    report = TConvertReport{};
    report.Input = input;
    report.Seconds = seconds;
    if (child.TimedOut) {
        report.Status = TConvertStatus::Timeout;
        report.Reason = "The conversion took too long and was stopped.";
    } else {
        report.Status = TConvertStatus::Crashed;
        report.Reason = WIFSIGNALED(waitStatus)
                            ? "The converter crashed (signal " + std::to_string(WTERMSIG(waitStatus)) + ")."
                            : "The converter ended without a result.";
    }
    return report;
}

}  // namespace

std::vector<TConvertReport> RunBatch(const std::vector<std::string>& inputs,
                                     const TBatchOptions& options,
                                     const std::function<TConvertReport(size_t)>& convert,
                                     const std::function<void(const TConvertReport&)>& onDone) {
    std::vector<TConvertReport> reports(inputs.size());
    std::map<pid_t, TChild> running;
    size_t next = 0;
    const int jobs = options.Jobs > 0 ? options.Jobs : 1;
    while (next < inputs.size() || !running.empty()) {
        while (next < inputs.size() && static_cast<int>(running.size()) < jobs) {
            int fds[2];
            if (pipe(fds) != 0) break;
            const pid_t pid = fork();
            if (pid == 0) {
                close(fds[0]);
                WriteAll(fds[1], ToJson(convert(next)) + "\n");
                close(fds[1]);
                _exit(0);
            }
            close(fds[1]);
            if (pid < 0) {
                close(fds[0]);
                TConvertReport failed;
                failed.Input = inputs[next];
                failed.Status = TConvertStatus::Failed;
                failed.Reason = "Can not start a converter process.";
                reports[next] = failed;
                if (onDone) onDone(failed);
                ++next;
                continue;
            }
            fcntl(fds[0], F_SETFL, O_NONBLOCK);
            running[pid] = TChild{next, fds[0], TClock::now(), {}, false};
            ++next;
        }
        std::vector<pollfd> polls;
        for (auto& [pid, child] : running) polls.push_back({child.Fd, POLLIN, 0});
        poll(polls.data(), polls.size(), 100);
        for (auto it = running.begin(); it != running.end();) {
            TChild& child = it->second;
            Drain(child);
            const double seconds =
                std::chrono::duration<double>(TClock::now() - child.Start).count();
            if (!child.TimedOut && seconds > options.TimeoutSeconds) {
                child.TimedOut = true;
                kill(it->first, SIGKILL);
            }
            int status = 0;
            if (waitpid(it->first, &status, WNOHANG) != it->first) {
                ++it;
                continue;
            }
            Drain(child);
            close(child.Fd);
            reports[child.Index] = Finish(child, inputs[child.Index], status, seconds);
            if (onDone) onDone(reports[child.Index]);
            it = running.erase(it);
        }
    }
    return reports;
}

}  // namespace qm
