#pragma once
// SIGTERM and SIGINT as an event on the event loop (Linux signalfd): the
// signals are blocked in the calling thread, and in every thread started
// after it, and read from a descriptor instead of interrupting anything.
// Construct it before any other thread starts.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace pralix::desk {

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  TerminationSignals();
  ~TerminationSignals() override;

 signals:
  void received(int signalNumber);

 private:
  void read();

  int descriptor_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace pralix::desk
