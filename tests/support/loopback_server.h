// A small HTTP server on 127.0.0.1 inside the test process, so download
// tests run against a real server without reaching beyond the machine.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kv::test {

class LoopbackServer {
 public:
  struct Reply {
    int status = 200;
    std::string body;
    // The Content-Length sent; more than the body cuts the answer off.
    std::optional<size_t> announced;
  };

  LoopbackServer();  // listening on a free port when it returns
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // "http://127.0.0.1:<port>", without a trailing "/".
  std::string Url() const;
  // What a GET of `path` gets; an unknown path gets 404.
  void Serve(const std::string& path, Reply reply);
  void Serve(const std::string& path, const std::string& body) { Serve(path, Reply{200, body, {}}); }
  int Requests(const std::string& path) const;
  // The request lines and headers of every GET so far, in order.
  std::vector<std::string> RequestHeads() const;

 private:
  void Run();
  void Answer(uintptr_t client);

  uintptr_t listener_ = ~uintptr_t(0);  // a SOCKET
  int port_ = 0;
  mutable std::mutex lock_;
  std::map<std::string, Reply> replies_;
  std::map<std::string, int> requests_;
  std::vector<std::string> heads_;
  std::thread thread_;
};

}  // namespace kv::test
