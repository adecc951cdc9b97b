// Reading and checksumming the files of a walk ahead of it, on worker
// threads, while the user-interface thread takes the results one by one in
// the walk's order. Whatever the walk shows, counts or writes stays on the
// user-interface thread; the workers only turn paths into checksum texts.
//
// A worker starts a file only while the walk is no more than `window` files
// behind, so memory stays bounded by one read buffer per worker and a window
// of short texts; the files are the folder's names, held once. Hold keeps every file not yet started unopened (the file
// the walk waits for excepted), Restart forgets what was read ahead, and
// Stop ends the reading for good: no file is opened after it.
#pragma once
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/name_list.h"
#include "integrity/checksum/file_sum.h"

namespace kv {

class ChecksumPipeline {
 public:
  // What a worker makes of one file: its checksum text and whether the file
  // was read through, or nullopt to leave
  // the file to the walk itself (see Taken::ByCaller). Runs on worker
  // `worker` (0 .. workers-1) only, one file at a time.
  using Reader = std::function<std::optional<FileSum>(size_t worker, const std::string& path,
                                                      int32_t readBufferSize)>;

  // The files are folder + each name (folder ends in "\\", or is empty for
  // names that are whole paths).
  ChecksumPipeline(std::string folder, NameList names, size_t workers, size_t window,
                   int32_t readBufferSize, Reader reader);
  ChecksumPipeline(const std::vector<std::string>& paths, size_t workers, size_t window,
                   int32_t readBufferSize, Reader reader)
      : ChecksumPipeline({}, NameList(paths), workers, window, readBufferSize, std::move(reader)) {}
  ~ChecksumPipeline();  // stops and waits for the workers
  ChecksumPipeline(const ChecksumPipeline&) = delete;
  ChecksumPipeline& operator=(const ChecksumPipeline&) = delete;

  // As many workers as the machine has cores.
  static size_t MachineWorkers();
  // How many files the workers may run ahead of the walk. One file of tens
  // of megabytes keeps a worker busy while the others go on through the
  // small ones behind it; a window of a few files would leave them waiting.
  static constexpr size_t kWindow = 256;

  enum class Taken { Checksum, ByCaller, GaveUp };
  // The result for file `index`; indices are taken in increasing order.
  // Waits for it while `pump` runs whenever input for the user-interface
  // thread waits; when `pump` returns false the wait is given up.
  Taken Take(size_t index, FileSum& checksum, const std::function<bool()>& pump);

  void Hold();
  void Release();
  // Forgets every result from `index` on (read, or being read) and starts
  // reading again there; releases a hold.
  void Restart(size_t index);
  void Stop();
  // The read size for files started from now on.
  void SetReadBufferSize(int32_t size);

  // Files started so far, restarts included.
  size_t Started() const;

 private:
  // Only files from the one the walk takes next to a window ahead of it are
  // ever started, so their results take turns in a ring of window slots.
  struct Slot {
    size_t index = 0;
    bool ready = false;
    bool byCaller = false;
    FileSum sum;
  };
  void Work(size_t worker);
  bool MayStart() const;        // under mutex_
  bool WalkShouldWake() const;  // under mutex_
  static constexpr size_t kWakeBatch = 32;

  Slot& SlotOf(size_t index) { return slots_[index % slots_.size()]; }
  const Slot& SlotOf(size_t index) const { return slots_[index % slots_.size()]; }
  bool Ready(size_t index) const;  // under mutex_

  const std::string folder_;
  const NameList names_;
  const size_t window_;
  const Reader reader_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  HANDLE resultEvent_ = nullptr;  // set whenever a result is stored
  std::vector<Slot> slots_;
  size_t next_ = 0;  // the next file to start
  size_t want_ = 0;  // the file the walk takes next
  bool waiting_ = false;  // the walk waits for file want_
  unsigned generation_ = 0;
  bool held_ = false;
  bool stopped_ = false;
  int32_t readBufferSize_;
  size_t started_ = 0;
  std::vector<std::thread> workers_;
};

}  // namespace kv
