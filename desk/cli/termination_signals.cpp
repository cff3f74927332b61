#include "cli/termination_signals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace pralix::desk {
namespace {

sigset_t TerminationSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  return set;
}

}  // namespace

TerminationSignals::TerminationSignals() {
  const sigset_t set = TerminationSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  descriptor_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (descriptor_ < 0) {
    // Without the descriptor the signals keep their default action: the
    // desk still ends on SIGTERM, only without answering what it holds.
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::read);
}

TerminationSignals::~TerminationSignals() {
  notifier_.reset();
  // The signals stay blocked: a second SIGTERM while the desk winds down
  // must not end it halfway.
  if (descriptor_ >= 0) close(descriptor_);
}

void TerminationSignals::read() {
  signalfd_siginfo info;
  while (::read(descriptor_, &info, sizeof info) == ssize_t(sizeof info)) emit received(int(info.ssi_signo));
}

}  // namespace pralix::desk
