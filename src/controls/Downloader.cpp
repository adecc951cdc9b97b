#include "controls/Downloader.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "core/text.h"
#include "platform/files.h"
#include "platform/host.h"

namespace kv {

namespace {

constexpr char kClassName[] = "KorvanelDownloader";
constexpr UINT kMail = WM_APP + 0x41;  // the workers have left events in the mailbox
constexpr DWORD kTimeoutMs = 30000;

struct Event {
  bool end = false;  // false: progress
  std::string saveFile;
  size_t read = 0, expected = 0;
  std::string bytes;  // the whole body, with the end
  bool whole = false;
};

}  // namespace

// The worker threads outlive nothing: each holds the mailbox, and once the
// Downloader is gone (window null) they stop at their next read and their
// events are dropped.
struct Downloader::Mailbox {
  std::mutex lock;
  HWND window = nullptr;
  std::deque<Event> events;

  bool Closed() {
    std::lock_guard<std::mutex> hold(lock);
    return window == nullptr;
  }
  void Post(Event e) {
    std::lock_guard<std::mutex> hold(lock);
    if (!window) return;
    const bool first = events.empty();
    events.push_back(std::move(e));
    if (first) PostMessageA(window, kMail, 0, 0);
  }
  std::deque<Event> Take() {
    std::lock_guard<std::mutex> hold(lock);
    return std::exchange(events, {});
  }
};

namespace {

DWORD QueryNumber(HINTERNET request, DWORD what, bool& found) {
  DWORD value = 0, size = sizeof value;
  found = HttpQueryInfoA(request, what | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) != FALSE;
  return value;
}

// The announced body length, read as text: a length of 4 GB or more does not
// fit the 32-bit number the system would give and must not come back cut to
// its low bits. Empty when the server announces none; a length that is no
// plain decimal number, or too big to count, comes back as the largest one,
// which no body reaches.
std::optional<uint64_t> ContentLength(HINTERNET request) {
  char text[64] = "";
  DWORD size = sizeof text;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? std::optional<uint64_t>(UINT64_MAX) : std::nullopt;
  const std::string_view field(text, std::min<size_t>(size, sizeof text - 1));
  const size_t first = field.find_first_not_of(' '), last = field.find_last_not_of(' ');
  if (first == std::string_view::npos) return UINT64_MAX;
  uint64_t value = 0;
  for (const char c : field.substr(first, last - first + 1)) {
    if (c < '0' || c > '9' || value > (UINT64_MAX - 9) / 10) return UINT64_MAX;
    value = value * 10 + uint64_t(c - '0');
  }
  return value;
}

// One download, on its own thread. "Whole" means a 200 answer whose body
// ended normally, at the length the server announced and within the limit.
void Fetch(std::shared_ptr<Downloader::Mailbox> box, std::string url, std::string saveFile,
           size_t maxBytes) {
  Event end;
  end.end = true;
  end.saveFile = saveFile;
  if (HINTERNET net = InternetOpenA("Korvanel", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_SEND_TIMEOUT}) {
      DWORD ms = kTimeoutMs;
      InternetSetOptionA(net, option, &ms, sizeof ms);
    }
    // A fresh copy from the server: no cached answer, none stored, and the
    // same asked of any proxy on the way.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                        INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                        INTERNET_FLAG_NO_COOKIES;
    if (HINTERNET request = InternetOpenUrlA(net, url.c_str(), "Cache-Control: no-cache\r\n",
                                             DWORD(-1), flags, 0)) {
      bool found = false;
      bool ok = QueryNumber(request, HTTP_QUERY_STATUS_CODE, found) == 200 && found;
      const std::optional<uint64_t> length = ContentLength(request);
      // A body announced longer than the limit is refused before it is read.
      if (length && *length > maxBytes) ok = false;
      std::string body;
      char chunk[16384];
      while (ok && !box->Closed()) {
        DWORD got = 0;
        if (!InternetReadFile(request, chunk, sizeof chunk, &got)) {
          ok = false;
          break;
        }
        if (got == 0) break;
        body.append(chunk, got);
        if (body.size() > maxBytes) {
          ok = false;
          break;
        }
        Event progress;
        progress.saveFile = saveFile;
        progress.read = body.size();
        progress.expected = length ? size_t(*length) : 0;
        box->Post(std::move(progress));
      }
      end.whole = ok && !box->Closed() && (!length || body.size() == *length);
      if (end.whole) end.bytes = std::move(body);
      InternetCloseHandle(request);
    }
    InternetCloseHandle(net);
  }
  box->Post(std::move(end));
}

std::string ErrorDescription(unsigned long code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      GetModuleHandleA("wininet.dll"), code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string description = n && text ? std::string(text, n) : std::string();
  if (text) LocalFree(text);
  while (!description.empty() && (description.back() == '\r' || description.back() == '\n'))
    description.pop_back();
  return description.empty() ? "Unknown error" : Trim(description);
}

// The URL's own faults, found before any thread starts: 0 when it is an
// http or https address with a host.
unsigned long UrlFault(const std::string& url) {
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = 1;
  parts.dwHostNameLength = 1;
  if (url.empty()) return ERROR_INTERNET_INVALID_URL;
  if (!InternetCrackUrlA(url.c_str(), DWORD(url.size()), 0, &parts)) {
    const DWORD code = GetLastError();
    return code ? code : ERROR_INTERNET_INVALID_URL;
  }
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
    return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  if (parts.dwHostNameLength == 0) return ERROR_INTERNET_INVALID_URL;
  return 0;
}

}  // namespace

Downloader::Downloader(Host& host)
    : host_(host), mailbox_(std::make_shared<Mailbox>()), alive_(std::make_shared<bool>(true)) {
  Create(controls::WindowClass{kClassName}, 0, "Downloader", 0, 0, 0, 0, 0, HWND_MESSAGE);
  std::lock_guard<std::mutex> hold(mailbox_->lock);
  mailbox_->window = hwnd_;
}

Downloader::~Downloader() {
  {
    std::lock_guard<std::mutex> hold(mailbox_->lock);
    mailbox_->window = nullptr;
    mailbox_->events.clear();
  }
  *alive_ = false;
  Destroy();
}

std::string Downloader::BeginDownloadErrorText(unsigned long code) {
  return Dec((long long)code) + ":Error in call to BeginDownload().\r\n\r\nError Description: " +
         ErrorDescription(code);
}

bool Downloader::BeginDownload(const std::string& url, const std::string& saveFile) {
  unsigned long fault = hwnd_ ? UrlFault(url) : ERROR_INVALID_WINDOW_HANDLE;
  if (!fault) {
    try {
      std::thread(Fetch, mailbox_, url, saveFile, maxBytes).detach();
      ++pending_;
      return true;
    } catch (const std::system_error& e) {
      fault = static_cast<unsigned long>(e.code().value());
    }
  }
  host_.ShowMessage(BeginDownloadErrorText(fault), "Warning", MsgButtons::Ok, MsgIcon::Error);
  return false;
}

LRESULT Downloader::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kMail) return Default(msg, wp, lp);
  Deliver();
  return 0;
}

// Handlers may start another download or destroy this object; after each
// one nothing is touched unless the object is still there.
void Downloader::Deliver() {
  const std::shared_ptr<bool> alive = alive_;
  std::deque<Event> events = mailbox_->Take();
  for (Event& e : events) {
    if (!*alive) return;
    if (!e.end) {
      if (auto handler = DownloadProgress) handler(e.saveFile, e.read, e.expected);
      continue;
    }
    --pending_;
    Finish(std::move(e.saveFile), std::move(e.bytes), e.whole);
  }
}

void Downloader::Finish(std::string saveFile, std::string bytes, bool whole) {
  const std::shared_ptr<bool> alive = alive_;
  // The old file stays until the new one is complete on disk.
  const bool keep = whole && !bytes.empty() && bytes.size() <= maxBytes && (!Accept || Accept(bytes)) &&
                    ReplaceFileContents(saveFile, bytes);
  if (!keep) {
    if (auto handler = DownloadError) handler(saveFile);
    if (!*alive) return;
  }
  if (auto handler = DownloadComplete) handler(saveFile, keep ? bytes.size() : 0);
}

}  // namespace kv
