#include "context/kept.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kv {
namespace {

// Records its going and what the keeper still holds while it goes, as a
// window's destructor may look at the App again.
template <int N>
struct Thing {
  Thing(Keeper& k, std::vector<std::string>& l, std::string n)
      : keeper(k), log(l), name(std::move(n)) {}
  ~Thing() {
    log.push_back(name + (keeper.Find<Thing>() ? " seen" : "") +
                  (N != 0 && keeper.Find<Thing<0>>() ? " with 0" : ""));
  }
  Keeper& keeper;
  std::vector<std::string>& log;
  std::string name;
};

TEST(Keeper, MakesOnceDropsAndReplacesAndLetsGoLastMadeFirst) {
  std::vector<std::string> log;
  {
    Keeper k;
    EXPECT_EQ(k.Find<Thing<0>>(), nullptr);
    Thing<0>& zero = k.Get<Thing<0>>(k, log, "0");
    EXPECT_EQ(&k.Get<Thing<0>>(k, log, "other"), &zero);
    EXPECT_EQ(k.Find<Thing<0>>(), &zero);
    EXPECT_EQ(k.Find<Thing<1>>(), nullptr);

    // A dropped object is no longer found while it goes; the next use makes a new one.
    k.Get<Thing<1>>(k, log, "1");
    k.Drop<Thing<1>>();
    EXPECT_EQ(log, (std::vector<std::string>{"1 with 0"}));
    EXPECT_EQ(k.Get<Thing<1>>(k, log, "1b").name, "1b");

    // A replacement stands before the old one goes, in the old one's place.
    k.Put<Thing<0>>(k, log, "0b");
    EXPECT_EQ(log.back(), "0 seen");
    EXPECT_EQ(k.Find<Thing<0>>()->name, "0b");
    k.Get<Thing<2>>(k, log, "2");
    log.clear();
  }
  EXPECT_EQ(log, (std::vector<std::string>{"2 with 0", "1b with 0", "0b"}));
}

}  // namespace
}  // namespace kv
