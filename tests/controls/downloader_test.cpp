// The asynchronous download against a real HTTP server on the loopback
// address: what is kept, what is refused, and the order of its events.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/Downloader.h"
#include "platform/files.h"
#include "support/loopback_server.h"
#include "support/program_folder.h"
#include "support/pump.h"
#include "support/scripted_host.h"

namespace kv {
namespace {

using test::LoopbackServer;

class DownloaderTest : public ::testing::Test {
 protected:
  DownloaderTest() : dl(host) {
    dl.DownloadProgress = [this](const std::string& f, size_t read, size_t expected) {
      events.push_back("progress " + std::to_string(read) + "/" + std::to_string(expected));
      EXPECT_EQ(f, file);
    };
    dl.DownloadError = [this](const std::string& f) {
      events.push_back("error");
      EXPECT_EQ(f, file);
    };
    dl.DownloadComplete = [this](const std::string& f, size_t saved) {
      events.push_back("complete " + std::to_string(saved));
      EXPECT_EQ(f, file);
    };
  }

  // Downloads `path` into the save file and waits for its last event.
  void Fetch(const std::string& path) {
    events.clear();
    ASSERT_TRUE(dl.BeginDownload(server.Url() + path, file));
    ASSERT_TRUE(test::PumpUntil([&] { return dl.Pending() == 0; }, 20000));
  }
  std::string Last() const { return events.empty() ? "" : events.back(); }
  size_t FilesInFolder() const { return ListDirectory(folder.dir())->size(); }

  test::ScriptedHost host;
  test::ProgramFolder folder;
  LoopbackServer server;
  std::string file = folder.path("list.dat");
  Downloader dl;
  std::vector<std::string> events;
};

TEST_F(DownloaderTest, KeepsExactlyTheBytesOfAFreshCopy) {
  const std::string body = std::string("line one\r\nline two\n\0\xff binary tail", 30) +
                           std::string(40000, 'x');
  server.Serve("/file.dat", body);
  folder.Write("list.dat", "the old content, much longer than nothing at all");
  Fetch("/file.dat");
  EXPECT_EQ(folder.Read("list.dat"), body);
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front().rfind("progress ", 0), 0u);
  EXPECT_EQ(events[events.size() - 2], "progress " + std::to_string(body.size()) + "/" +
                                           std::to_string(body.size()));
  EXPECT_EQ(Last(), "complete " + std::to_string(body.size()));
  EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left beside it
  // Never a cached answer: the request asks every cache on the way for a new copy.
  ASSERT_EQ(server.RequestHeads().size(), 1u);
  const std::string head = server.RequestHeads().back();
  EXPECT_NE(head.find("no-cache"), std::string::npos) << head;
  // A second download of the same file goes to the server again.
  Fetch("/file.dat");
  EXPECT_EQ(server.Requests("/file.dat"), 2);
}

TEST_F(DownloaderTest, AnythingButAWholeAcceptedAnswerLeavesThePreviousFile) {
  const std::string old = "[Korvanel]\r\nAVSupported=0\r\n";
  server.Serve("/cut.dat", LoopbackServer::Reply{200, std::string(3000, 'a'), 9000});
  // Announced 4 GB longer than sent: the length's low 32 bits match the body.
  server.Serve("/huge.dat", LoopbackServer::Reply{200, std::string(3000, 'h'), (size_t(1) << 32) + 3000});
  server.Serve("/big.dat", std::string(5000, 'b'));
  server.Serve("/binary.dat", "PK\x03\x04 not text");
  server.Serve("/error.dat", LoopbackServer::Reply{500, "Internal error page", {}});
  dl.maxBytes = 4096;
  dl.Accept = [](std::string_view bytes) { return bytes.find("PK") != 0; };
  for (const char* path : {"/cut.dat", "/huge.dat", "/big.dat", "/binary.dat", "/error.dat", "/missing.dat"}) {
    folder.Write("list.dat", old);
    Fetch(path);
    EXPECT_EQ(folder.Read("list.dat"), old) << path;
    ASSERT_GE(events.size(), 2u) << path;
    EXPECT_EQ(events[events.size() - 2], "error") << path;
    EXPECT_EQ(Last(), "complete 0") << path;
    EXPECT_EQ(FilesInFolder(), 1u) << path;
  }
  // No server at all: the same two events, and nothing is created.
  DeleteFileAt(file);
  events.clear();
  ASSERT_TRUE(dl.BeginDownload("http://127.0.0.1:9/none.dat", file));
  ASSERT_TRUE(test::PumpUntil([&] { return dl.Pending() == 0; }, 40000));
  EXPECT_EQ(events, (std::vector<std::string>{"error", "complete 0"}));
  EXPECT_FALSE(FileExists(file));
}

TEST_F(DownloaderTest, ARequestThatCannotBeMadeIsAWarningAndNoEvents) {
  // The box names the system's error number and its description.
  const std::string unrecognised = Downloader::BeginDownloadErrorText(12006);
  EXPECT_EQ(unrecognised.rfind("12006:Error in call to BeginDownload().\r\n\r\nError Description: ", 0), 0u);
  EXPECT_GT(unrecognised.size(), 70u);  // a description follows
  for (const std::string url : {"ftp://127.0.0.1/x", "C:\\Windows\\x.dat", "not an address"}) {
    host.ExpectBox(unrecognised, MsgAnswer::Ok, "Warning", MsgIcon::Error);
    EXPECT_FALSE(dl.BeginDownload(url, file)) << url;
  }
  host.ExpectBox(Downloader::BeginDownloadErrorText(12005), MsgAnswer::Ok, "Warning", MsgIcon::Error);
  EXPECT_FALSE(dl.BeginDownload("", file));
  EXPECT_TRUE(host.AllBoxesShown());
  EXPECT_EQ(dl.Pending(), 0);
  test::PumpPending();
  EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace kv
