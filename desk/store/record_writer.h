#pragma once
// The one thread that writes records.  The event loop hands each record
// over with submit() and goes on; the writer takes everything that queued up
// meanwhile and commits it as one transaction (group commit: one record per
// commit when posts come one at a time, many when many clients post at
// once), then delivers each record's outcome back on the event loop.  The
// writer owns its own store and connection, opened on its thread.

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "store/desk_store.h"

namespace pralix::desk {

class RecordWriter {
 public:
  // Nothing: the database failed (the desk answers 503).
  using Outcome = std::optional<StoreOutcome>;
  using Done = std::function<void(Outcome)>;
  using StoreOpener = std::function<std::unique_ptr<DeskStore>()>;

  // Most records per transaction.
  static constexpr std::size_t kMaxBatch = 512;

  // openStore runs on the writer thread, at start and again after a failure
  // (a restarted database); it throws StoreFailure when it cannot.  Outcomes
  // are delivered on context's thread; context must outlive the writer.
  RecordWriter(StoreOpener openStore, QObject* context);
  ~RecordWriter();
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;

  // Starts the thread and opens the store there; throws StoreFailure when
  // the first open fails.
  void start();
  // Queues one record; done is called later on the context's thread.
  void submit(DiagRecord record, Done done);
  // Commits what is queued, delivers those outcomes and ends the thread.
  void stop();

 private:
  struct Pending {
    DiagRecord record;
    Done done;
  };

  void run();
  bool ensureStore();
  // False when the transaction failed; otherwise each record's outcome.
  bool writeOrFail(const std::vector<DiagRecord>& records, std::vector<Outcome>& outcomes);
  std::vector<Outcome> write(const std::vector<DiagRecord>& records);
  void deliver(std::vector<Pending> batch, std::vector<Outcome> outcomes);

  StoreOpener openStore_;
  QObject* context_;  // outlives the writer
  std::unique_ptr<DeskStore> store_;  // used on the writer thread only
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Pending> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace pralix::desk
