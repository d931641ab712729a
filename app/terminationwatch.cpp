#include "app/terminationwatch.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace {
// The handler may only write to a descriptor; the event loop reads it.
int g_fds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

void OnSignal(int number) {
  const unsigned char b = static_cast<unsigned char>(number);
  [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &b, 1);
}
}  // namespace

TTerminationWatch::TTerminationWatch(QObject* parent) : QObject(parent) {
  if (g_fds[0] >= 0) return;  // one watch per process
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_fds) != 0) return;
  notifier_ = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TTerminationWatch::Read);
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int s : kSignals) ::sigaction(s, &sa, nullptr);
}

TTerminationWatch::~TTerminationWatch() {
  if (!notifier_) return;
  struct sigaction sa {};
  sa.sa_handler = SIG_DFL;
  sigemptyset(&sa.sa_mask);
  for (int s : kSignals) ::sigaction(s, &sa, nullptr);
  ::close(g_fds[0]);
  ::close(g_fds[1]);
  g_fds[0] = g_fds[1] = -1;
}

void TTerminationWatch::Read() {
  unsigned char b = 0;
  if (::read(g_fds[1], &b, 1) == 1) emit TerminationRequested(int(b));
}
