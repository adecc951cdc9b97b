// The program's asynchronous download: one URL at a time per call, fetched
// fresh from the server on a worker thread, its events raised on the
// user-interface thread through a hidden message window. The save file is
// replaced only by a download that arrived whole and was accepted, so a cut
// connection or an error page never overwrites a good copy.
#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "controls/window.h"

namespace kv {

class Host;

class Downloader : public controls::Window {
 public:
  explicit Downloader(Host& host);
  ~Downloader() override;

  // Starts fetching `url` (http or https, never from a cache) for
  // `saveFile`, which also names the download in its events. When the
  // request cannot even be made, a "Warning" box says why and no event
  // follows; false then.
  bool BeginDownload(const std::string& url, const std::string& saveFile);

  // What a download must be to be kept: at most maxBytes, and whatever
  // Accept says of its bytes (everything, when Accept is empty).
  size_t maxBytes = 1024 * 1024;
  std::function<bool(std::string_view bytes)> Accept;

  // Data arrived (never raised before the first byte). `expected` is 0 when
  // the server does not say.
  std::function<void(const std::string& saveFile, size_t read, size_t expected)> DownloadProgress;
  // The download ended without anything kept: no connection, an HTTP error,
  // a cut-off or refused body, or a save file that could not be written.
  std::function<void(const std::string& saveFile)> DownloadError;
  // Every download ends with this, also right after DownloadError; `saved`
  // is the number of bytes now in the save file from this download.
  std::function<void(const std::string& saveFile, size_t saved)> DownloadComplete;

  // Downloads started and not yet ended.
  int Pending() const { return pending_; }

  // ":Error in call to BeginDownload()." box text for a system error number.
  static std::string BeginDownloadErrorText(unsigned long code);

  struct Mailbox;  // what the worker threads share with the window

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Deliver();
  void Finish(std::string saveFile, std::string bytes, bool whole);

  Host& host_;
  std::shared_ptr<Mailbox> mailbox_;
  std::shared_ptr<bool> alive_;
  int pending_ = 0;
};

}  // namespace kv
