#include "controls/lit_checks.h"

#include <algorithm>

#include "controls/check.h"

namespace kv {

namespace {
// The user-interface thread's lists; every window lives on that thread.
std::vector<LitCheckList*>& Lists() {
  thread_local std::vector<LitCheckList*> lists;
  return lists;
}
}  // namespace

LitCheckList::LitCheckList(std::function<bool()> takesPart) : takesPart_(std::move(takesPart)) {
  Lists().push_back(this);
}

LitCheckList::~LitCheckList() {
  auto& lists = Lists();
  lists.erase(std::remove(lists.begin(), lists.end(), this), lists.end());
}

void LitCheckList::Add(check& box) {
  boxes_.push_back(&box);
  box.CaptionHover = [] { ClearAll(); };
}

void LitCheckList::Add(std::initializer_list<check*> boxes) {
  for (check* b : boxes) Add(*b);
}

void LitCheckList::ClearAll() {
  // A copy: a takesPart test may pump messages, and a window may go meanwhile.
  const std::vector<LitCheckList*> lists = Lists();
  for (LitCheckList* list : lists) {
    if (std::find(Lists().begin(), Lists().end(), list) == Lists().end()) continue;
    if (list->takesPart_ && !list->takesPart_()) continue;
    for (check* b : list->boxes_)
      if (b->hwnd()) b->downStatus(1);
  }
}

}  // namespace kv
