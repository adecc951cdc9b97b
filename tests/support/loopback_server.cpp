#include <winsock2.h>
#include <ws2tcpip.h>

#include "support/loopback_server.h"

#include <gtest/gtest.h>

namespace kv::test {

LoopbackServer::LoopbackServer() {
  WSADATA wsa{};
  WSAStartup(MAKEWORD(2, 2), &wsa);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  at.sin_port = 0;
  int size = sizeof at;
  if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) ||
      listen(listener_, 16) || getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size)) {
    ADD_FAILURE() << "the loopback server could not listen: " << WSAGetLastError();
    return;
  }
  port_ = ntohs(at.sin_port);
  thread_ = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer() {
  closesocket(listener_);  // ends the accept below
  if (thread_.joinable()) thread_.join();
  WSACleanup();
}

std::string LoopbackServer::Url() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LoopbackServer::Serve(const std::string& path, Reply reply) {
  std::lock_guard<std::mutex> hold(lock_);
  replies_[path] = std::move(reply);
}

int LoopbackServer::Requests(const std::string& path) const {
  std::lock_guard<std::mutex> hold(lock_);
  auto it = requests_.find(path);
  return it == requests_.end() ? 0 : it->second;
}

std::vector<std::string> LoopbackServer::RequestHeads() const {
  std::lock_guard<std::mutex> hold(lock_);
  return heads_;
}

void LoopbackServer::Run() {
  for (;;) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    Answer(client);
    shutdown(client, SD_SEND);
    closesocket(client);
  }
}

void LoopbackServer::Answer(uintptr_t client) {
  std::string head;
  char buf[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const int n = recv(client, buf, sizeof buf, 0);
    if (n <= 0) return;
    head.append(buf, size_t(n));
  }
  head.resize(head.find("\r\n\r\n"));
  const size_t start = head.find(' ') + 1, end = head.find(' ', start);
  const std::string path = head.substr(start, end - start);
  Reply reply{404, "Not Found", {}};
  {
    std::lock_guard<std::mutex> hold(lock_);
    heads_.push_back(head);
    ++requests_[path];
    if (auto it = replies_.find(path); it != replies_.end()) reply = it->second;
  }
  const std::string answer = "HTTP/1.1 " + std::to_string(reply.status) +
                             (reply.status == 200 ? " OK" : " Error") + "\r\nContent-Type: text/plain" +
                             "\r\nContent-Length: " + std::to_string(reply.announced.value_or(reply.body.size())) +
                             "\r\nConnection: close\r\n\r\n" + reply.body;
  for (size_t sent = 0; sent < answer.size();) {
    const int n = send(client, answer.data() + sent, int(answer.size() - sent), 0);
    if (n <= 0) return;
    sent += size_t(n);
  }
}

}  // namespace kv::test
