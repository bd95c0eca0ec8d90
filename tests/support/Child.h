#pragma once
// Runs a piece of a test in a forked child, for what must not touch the test
// process itself: resource limits, being killed half-way.
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <functional>

namespace vorlix::test {

struct ChildRun {
  bool started = false;
  int status = 0;     // as waitpid reports it
  QByteArray report;  // what the child's body returned
  bool exitedNormally() const { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }
  bool killedBy(int sig) const { return WIFSIGNALED(status) && WTERMSIG(status) == sig; }
};

// The child runs `body`, writes its result to the parent and ends without
// Qt's or the test's teardown. It is stopped by SIGALRM after `limitSeconds`.
inline ChildRun runInChild(const std::function<QByteArray()>& body, unsigned limitSeconds = 20) {
  ChildRun out;
  int fds[2];
  if (::pipe(fds) != 0) return out;
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return out;
  }
  if (pid == 0) {
    ::close(fds[0]);
    ::alarm(limitSeconds);
    const QByteArray r = body();
    const char* p = r.constData();
    qsizetype left = r.size();
    while (left > 0) {
      const ssize_t n = ::write(fds[1], p, size_t(left));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      p += n;
      left -= n;
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  out.started = true;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fds[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    out.report.append(buf, n);
  }
  ::close(fds[0]);
  while (::waitpid(pid, &out.status, 0) < 0 && errno == EINTR) {
  }
  return out;
}

}  // namespace vorlix::test
