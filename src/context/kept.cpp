#include "context/kept.h"

namespace kv {

// An object's destructor may reach the App again (a window that goes takes
// its owned windows with it, whose handlers run): each object leaves the
// table before it is destroyed, so the table is whole whenever code runs.

Keeper::~Keeper() {
  while (!entries_.empty()) {
    Object last = std::move(entries_.back().object);
    entries_.pop_back();
  }
}

void Keeper::Store(const void* key, Object object) {
  for (Entry& e : entries_) {
    if (e.key != key) continue;
    Object old = std::exchange(e.object, std::move(object));
    return;
  }
  entries_.push_back(Entry{key, std::move(object)});
}

void Keeper::Remove(const void* key) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->key != key) continue;
    Object gone = std::move(it->object);
    entries_.erase(it);
    return;
  }
}

}  // namespace kv
