#include "store/record_writer.h"

#include <QMetaObject>
#include <future>
#include <iostream>

namespace pralix::desk {

RecordWriter::RecordWriter(StoreOpener openStore, QObject* context)
    : openStore_(std::move(openStore)), context_(context) {}

RecordWriter::~RecordWriter() { stop(); }

void RecordWriter::start() {
  std::promise<void> opened;
  std::future<void> result = opened.get_future();
  thread_ = std::thread([this, &opened] {
    try {
      store_ = openStore_();
      opened.set_value();
    } catch (...) {
      opened.set_exception(std::current_exception());
      return;
    }
    run();
  });
  try {
    result.get();
  } catch (...) {
    thread_.join();
    throw;
  }
}

void RecordWriter::submit(DiagRecord record, Done done) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back({std::move(record), std::move(done)});
  }
  wake_.notify_one();
}

void RecordWriter::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void RecordWriter::run() {
  for (;;) {
    std::vector<Pending> batch;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) break;  // stopping, and everything is written
      while (!queue_.empty() && batch.size() < kMaxBatch) {
        batch.push_back(std::move(queue_.front()));
        queue_.pop_front();
      }
    }
    std::vector<DiagRecord> records;
    records.reserve(batch.size());
    for (Pending& pending : batch) records.push_back(pending.record);
    deliver(std::move(batch), write(records));
  }
  store_.reset();  // the connection closes on the thread that opened it
}

bool RecordWriter::ensureStore() {
  if (store_) return true;
  try {
    store_ = openStore_();
    return true;
  } catch (const StoreFailure& failure) {
    std::cerr << "pralix-desk: " << failure.what() << std::endl;
    return false;
  }
}

bool RecordWriter::writeOrFail(const std::vector<DiagRecord>& records, std::vector<Outcome>& outcomes) {
  try {
    const std::vector<StoreOutcome> stored = store_->store(records);
    outcomes.assign(stored.begin(), stored.end());
    return true;
  } catch (const StoreFailure& failure) {
    std::cerr << "pralix-desk: storing " << records.size() << " record(s) failed: " << failure.what() << std::endl;
    store_.reset();  // a broken connection is opened again for the next records
    return false;
  }
}

std::vector<RecordWriter::Outcome> RecordWriter::write(const std::vector<DiagRecord>& records) {
  std::vector<Outcome> outcomes;
  if (ensureStore() && writeOrFail(records, outcomes)) return outcomes;
  // One record the database refuses must not cost the others theirs: each
  // alone, as long as the database can be reached at all.
  outcomes.assign(records.size(), Outcome());
  if (records.size() == 1) return outcomes;
  for (std::size_t i = 0; i < records.size() && ensureStore(); ++i) {
    std::vector<Outcome> one;
    if (writeOrFail({records[i]}, one)) outcomes[i] = one.front();
  }
  return outcomes;
}

void RecordWriter::deliver(std::vector<Pending> batch, std::vector<Outcome> outcomes) {
  QMetaObject::invokeMethod(
      context_,
      [batch = std::move(batch), outcomes = std::move(outcomes)]() {
        for (std::size_t i = 0; i < batch.size(); ++i) batch[i].done(outcomes[i]);
      },
      Qt::QueuedConnection);
}

}  // namespace pralix::desk
