#include "cli/batchjobs.h"

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <istream>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <thread>
#include <vector>

#include "cli/calccli.h"
#include "cli/workbook.h"

namespace kelmcli {
namespace {

// Lines in flight per thread: enough that a run of costly lines near the critical point does not
// leave the other threads waiting for the writer.
constexpr std::size_t kSlotsPerJob = 256;
// The writer looks for the next result this often rather than being woken for every line,
// which would cost a switch of threads per line.
constexpr auto kWriterPoll = std::chrono::milliseconds(1);

// A calculation line on its way: read, calculated by a worker, written, then free again.
struct Slot {
  long long number = 0;
  FormRequest request;  // as read, for the workbook
  std::string text;     // the line read, then the line to write
  std::string error;    // why the line could not be read, for the error stream
  bool tooLong = false;
  bool done = false;
};

// The ring of lines between the reader (the calling thread), the workers and the writer.
// Lines [written, read) are in the ring; [taken, read) wait for a worker.
class Batch {
 public:
  Batch(std::ostream& out, std::ostream& err, int jobs, const Options& options,
        CalcWorkbook* workbook)
      : out_(out), err_(err), options_(options), workbook_(workbook), ring_(kSlotsPerJob * jobs) {}

  // The next calculation line, once a slot is free; false once the writing has stopped. A
  // full ring is left to drain to half before reading on, so that the reader is not woken for
  // every line written.
  bool Put(long long number, std::string& line, bool tooLong) {
    std::unique_lock lock(mutex_);
    if (read_ - written_ == ring_.size()) {
      readerWaiting_ = true;
      slotFreed_.wait(lock, [&] { return stopped_ || read_ - written_ <= ring_.size() / 2; });
      readerWaiting_ = false;
    }
    if (stopped_) return false;
    Slot& slot = ring_[read_ % ring_.size()];
    slot.number = number;
    slot.text.swap(line);
    slot.tooLong = tooLong;
    slot.done = false;
    ++read_;
    lock.unlock();
    lineRead_.notify_one();
    return true;
  }

  // No more lines: the workers and the writer end once every line is written.
  void End() {
    std::lock_guard lock(mutex_);
    ended_ = true;
    lineRead_.notify_all();
  }

  void Work() {
    FormRequest request;
    Printed printed;
    std::unique_lock lock(mutex_);
    while (true) {
      lineRead_.wait(lock, [&] { return stopped_ || ended_ || taken_ < read_; });
      if (stopped_ || taken_ == read_) return;
      Slot& slot = ring_[taken_++ % ring_.size()];
      const std::string line = std::move(slot.text);
      const bool tooLong = slot.tooLong;
      lock.unlock();
      std::string error = CalculateBatchLine(line, tooLong, options_, request, printed);
      std::string text = error.empty() ? printed.tsv : "error\t" + error;
      lock.lock();
      if (workbook_ != nullptr && error.empty()) slot.request = request;
      slot.text = std::move(text);
      slot.error = std::move(error);
      slot.done = true;
    }
  }

  // Writes the results in input order, with RunBatch's messages.
  void Write() {
    std::unique_lock lock(mutex_);
    bool unflushed = false;
    while (!stopped_) {
      if (written_ < read_ && ring_[written_ % ring_.size()].done) {
        const Slot& slot = ring_[written_ % ring_.size()];
        lock.unlock();
        out_ << slot.text << '\n';
        const bool failed = !out_;
        if (!failed && !slot.error.empty()) {
          err_ << "kelm-calc: line " << slot.number << ": " << slot.error << '\n';
        }
        // Only this thread adds to the workbook, in input order.
        if (!failed && workbook_ != nullptr && slot.error.empty())
          workbook_->Add(slot.request, InputMatch::UsedOnly);
        lock.lock();
        if (failed) return Fail();
        if (!slot.error.empty()) status_ = kExitUsage;
        ++written_;
        unflushed = true;
        if (readerWaiting_ && read_ - written_ <= ring_.size() / 2) slotFreed_.notify_one();
        continue;
      }
      const bool finished = ended_ && written_ == read_;
      if (unflushed || finished) {
        // Whatever is written reaches the reader before the writer waits.
        lock.unlock();
        out_.flush();
        lock.lock();
        if (!out_) return Fail();
        unflushed = false;
      }
      if (finished) return;
      lineDone_.wait_for(lock, kWriterPoll);
    }
  }

  // Stops every thread, as after a write error; for the caller before any line is read.
  void Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    lineRead_.notify_all();
    slotFreed_.notify_all();
  }

  int Status() {
    std::lock_guard lock(mutex_);
    return status_;
  }

 private:
  // Under the lock: the output failed, and the run stops as RunBatch's does. A reader waiting
  // for input on a terminal stops once its line arrives.
  void Fail() {
    err_ << "kelm-calc: cannot write the output\n";
    status_ = kExitUsage;
    stopped_ = true;
    lineRead_.notify_all();
    slotFreed_.notify_all();
  }

  std::ostream& out_;
  std::ostream& err_;
  const Options& options_;
  CalcWorkbook* workbook_;
  std::mutex mutex_;
  std::condition_variable lineRead_, slotFreed_, lineDone_;
  std::vector<Slot> ring_;
  std::size_t read_ = 0, taken_ = 0, written_ = 0;
  bool ended_ = false, stopped_ = false, readerWaiting_ = false;
  int status_ = kExitOk;
};

}  // namespace

int DefaultJobs() {
  int cores = 0;
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) cores = CPU_COUNT(&set);
  if (cores < 1) cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, kMaxJobs);
}

bool ParseJobs(const std::string& text, int& jobs) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const int value = std::stoi(text);
  if (value < 1 || value > kMaxJobs) return false;
  jobs = value;
  return true;
}

int RunBatchJobs(std::istream& in, std::ostream& out, std::ostream& err, int jobs,
                 const Options& options, CalcWorkbook* workbook) {
  if (jobs <= 1) return RunBatch(in, out, err, options, workbook);
  Batch batch(out, err, jobs, options, workbook);
  std::vector<std::thread> threads;
  const auto joinAll = [&] {
    for (std::thread& thread : threads) thread.join();
  };
  try {
    threads.emplace_back(&Batch::Write, &batch);
    for (int k = 0; k < jobs; ++k) threads.emplace_back(&Batch::Work, &batch);
  } catch (const std::exception&) {
    // Out of threads: go on with the workers that started, or on this thread alone.
    if (threads.size() < 2) {
      batch.Stop();
      joinAll();
      return RunBatch(in, out, err, options, workbook);
    }
  }

  BatchReader reader(in);
  long long number = 0;
  std::string line;
  bool tooLong = false;
  while (reader.Next(number, line, tooLong) && batch.Put(number, line, tooLong)) {
  }
  batch.End();
  joinAll();
  return batch.Status();
}

}  // namespace kelmcli
