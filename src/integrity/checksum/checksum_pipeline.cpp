#include "integrity/checksum/checksum_pipeline.h"

#include <algorithm>

namespace kv {

ChecksumPipeline::ChecksumPipeline(std::string folder, NameList names, size_t workers, size_t window,
                                   int32_t readBufferSize, Reader reader)
    : folder_(std::move(folder)),
      names_(std::move(names)),
      window_(std::max<size_t>(1, window)),
      reader_(std::move(reader)),
      resultEvent_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      slots_(std::max<size_t>(1, std::min(window_, names_.size()))),
      readBufferSize_(readBufferSize) {
  workers = std::clamp<size_t>(workers, 1, std::max<size_t>(1, names_.size()));
  workers_.reserve(workers);
  for (size_t w = 0; w < workers; ++w) workers_.emplace_back([this, w] { Work(w); });
}

ChecksumPipeline::~ChecksumPipeline() {
  Stop();
  for (std::thread& t : workers_) t.join();
  if (resultEvent_) CloseHandle(resultEvent_);
}

size_t ChecksumPipeline::MachineWorkers() {
  return std::max(1u, std::thread::hardware_concurrency());
}

bool ChecksumPipeline::MayStart() const {
  if (stopped_ || next_ >= names_.size() || next_ >= want_ + window_) return false;
  return !held_ || (waiting_ && next_ <= want_);
}

bool ChecksumPipeline::Ready(size_t index) const {
  const Slot& slot = SlotOf(index);
  return slot.ready && slot.index == index;
}

bool ChecksumPipeline::WalkShouldWake() const {
  if (!waiting_ || want_ >= names_.size() || !Ready(want_)) return false;
  // Setting the event and waking the walk each cost a round trip to the
  // Wine server, and on a busy machine the walk's wake-up takes a core from
  // the readers: the walk is woken for a run of results at once, or when
  // no more reading can start before it takes what is there.
  if (!MayStart()) return true;
  size_t ready = 0;
  for (size_t i = want_; i < names_.size() && Ready(i); ++i)
    if (++ready == kWakeBatch) return true;
  return want_ + ready == names_.size();
}

void ChecksumPipeline::Work(size_t worker) {
  std::string path;
  for (;;) {
    size_t index;
    unsigned generation;
    int32_t size;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopped_ || MayStart(); });
      if (stopped_) return;
      index = next_++;
      generation = generation_;
      size = readBufferSize_;
      ++started_;
    }
    path.assign(folder_).append(names_[index]);
    std::optional<FileSum> text = reader_(worker, path, size);
    bool wake;
    {
      std::lock_guard lock(mutex_);
      // A file the walk has gone past is no longer wanted, and its slot may
      // already be another file's.
      if (generation != generation_ || stopped_ || index < want_) continue;
      Slot& slot = SlotOf(index);
      slot.index = index;
      slot.ready = true;
      slot.byCaller = !text;
      if (text) slot.sum = std::move(*text);
      wake = WalkShouldWake();
    }
    if (wake) SetEvent(resultEvent_);
  }
}

ChecksumPipeline::Taken ChecksumPipeline::Take(size_t index, FileSum& checksum,
                                               const std::function<bool()>& pump) {
  {
    std::lock_guard lock(mutex_);
    want_ = index;
    waiting_ = true;
  }
  wake_.notify_all();
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (Ready(index)) {
        Slot& slot = SlotOf(index);
        const bool byCaller = slot.byCaller;
        checksum = std::move(slot.sum);
        slot = Slot();
        want_ = index + 1;
        waiting_ = false;
        wake_.notify_all();
        return byCaller ? Taken::ByCaller : Taken::Checksum;
      }
      // After a stop nothing more arrives.
      if (stopped_) {
        waiting_ = false;
        return Taken::GaveUp;
      }
    }
    // Input and paint for this thread wake the wait as they did the reads
    // between chunks; so does a result.
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &resultEvent_, INFINITE,
                                                   QS_KEY | QS_MOUSEBUTTON | QS_PAINT | QS_HOTKEY | QS_POSTMESSAGE,
                                                   MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0 + 1 && !pump()) {
      std::lock_guard lock(mutex_);
      waiting_ = false;
      return Taken::GaveUp;
    }
    if (woke == WAIT_FAILED) Sleep(1);
  }
}

void ChecksumPipeline::Hold() {
  std::lock_guard lock(mutex_);
  held_ = true;
}

void ChecksumPipeline::Release() {
  {
    std::lock_guard lock(mutex_);
    held_ = false;
  }
  wake_.notify_all();
}

void ChecksumPipeline::Restart(size_t index) {
  {
    std::lock_guard lock(mutex_);
    ++generation_;
    for (Slot& slot : slots_) slot = Slot();
    next_ = want_ = index;
    held_ = false;
  }
  wake_.notify_all();
}

void ChecksumPipeline::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  wake_.notify_all();
}

void ChecksumPipeline::SetReadBufferSize(int32_t size) {
  std::lock_guard lock(mutex_);
  readBufferSize_ = size;
}

size_t ChecksumPipeline::Started() const {
  std::lock_guard lock(mutex_);
  return started_;
}

}  // namespace kv
