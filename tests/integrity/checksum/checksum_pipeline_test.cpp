// The read-ahead pipeline on its own, with a reader that counts and can be
// slowed down: order, the bound on reading ahead, hold, restart and stop.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "integrity/checksum/checksum_pipeline.h"

using namespace kv;

namespace {

std::vector<std::string> Paths(int n) {
  std::vector<std::string> p;
  for (int i = 0; i < n; ++i) p.push_back("p" + std::to_string(i));
  return p;
}

const auto kNoPump = [] { return true; };

struct CountingReader {
  std::atomic<int> calls{0}, version{0};
  std::atomic<bool> slow{false};
  std::string leftToCaller = "p3";
  ChecksumPipeline::Reader Make() {
    return [this](size_t, const std::string& path, int32_t size) -> std::optional<FileSum> {
      ++calls;
      if (slow) Sleep(2);
      if (path == leftToCaller) return std::nullopt;
      return FileSum{path + "/" + std::to_string(size) + "/" + std::to_string(version.load())};
    };
  }
};

TEST(ChecksumPipeline, GivesEveryResultInOrderAndReadsAtMostAWindowAhead) {
  CountingReader reader;
  ChecksumPipeline pipeline(Paths(200), 4, 8, 512, reader.Make());
  FileSum text;
  for (size_t i = 0; i < 200; ++i) {
    const auto got = pipeline.Take(i, text, kNoPump);
    if (i == 3) {
      EXPECT_EQ(got, ChecksumPipeline::Taken::ByCaller);
      continue;
    }
    ASSERT_EQ(got, ChecksumPipeline::Taken::Checksum);
    // A new read size applies to the files started after the change.
    if (i <= 100) { EXPECT_EQ(text.text, "p" + std::to_string(i) + "/512/0"); }
    if (i == 50) {
      Sleep(50);  // time for the readers to run as far ahead as they may
      EXPECT_LE(pipeline.Started(), 51u + 8u);
    }
    if (i == 100) pipeline.SetReadBufferSize(4096);
  }
  EXPECT_EQ(reader.calls.load(), 200);
  EXPECT_EQ(text.text, "p199/4096/0");
}

// A file of tens of megabytes takes one worker for a while; the others go on
// through the small files behind it instead of waiting at a short window.
TEST(ChecksumPipeline, ALargeFileLeavesTheOtherWorkersGoingOn) {
  std::atomic<int> others{0};
  ChecksumPipeline pipeline(
      Paths(300), 2, ChecksumPipeline::kWindow, 512,
      [&](size_t, const std::string& path, int32_t) -> std::optional<FileSum> {
        if (path != "p0") {
          ++others;
          return FileSum{path};
        }
        for (int ms = 0; ms < 5000 && others < 200; ++ms) Sleep(1);
        return FileSum{path};
      });
  FileSum text;
  ASSERT_EQ(pipeline.Take(0, text, kNoPump), ChecksumPipeline::Taken::Checksum);
  EXPECT_GE(others.load(), 200);
}

TEST(ChecksumPipeline, HoldOpensOnlyTheFileWaitedForAndRestartReadsAgain) {
  CountingReader reader;
  reader.leftToCaller.clear();  // where the hold falls depends on the threads' start
  ChecksumPipeline pipeline(Paths(50), 2, 16, 512, reader.Make());
  FileSum text;
  pipeline.Hold();
  Sleep(30);
  const size_t before = pipeline.Started();
  EXPECT_LE(before, 16u);  // what started before the hold
  ASSERT_EQ(pipeline.Take(before, text, kNoPump), ChecksumPipeline::Taken::Checksum);
  EXPECT_EQ(pipeline.Started(), before + 1) << "the awaited file alone is opened while held";
  pipeline.Release();
  ASSERT_EQ(pipeline.Take(before + 1, text, kNoPump), ChecksumPipeline::Taken::Checksum);

  // Everything after the restart point is read again and seen as it is now.
  Sleep(30);
  reader.version = 1;
  pipeline.Restart(before + 2);
  ASSERT_EQ(pipeline.Take(before + 2, text, kNoPump), ChecksumPipeline::Taken::Checksum);
  EXPECT_EQ(text.text, "p" + std::to_string(before + 2) + "/512/1");
}

TEST(ChecksumPipeline, NothingIsOpenedAfterAStop) {
  CountingReader reader;
  reader.slow = true;
  int started = 0;
  {
    ChecksumPipeline pipeline(Paths(500), 2, 32, 512, reader.Make());
    FileSum text;
    for (size_t i = 0; i < 5; ++i) pipeline.Take(i, text, kNoPump);
    pipeline.Stop();
    started = int(pipeline.Started());
    Sleep(30);
    EXPECT_EQ(pipeline.Take(400, text, kNoPump), ChecksumPipeline::Taken::GaveUp);
  }  // the workers are joined here
  EXPECT_EQ(reader.calls.load(), started);
  EXPECT_LT(started, 5 + 32 + 1);
}

}  // namespace
