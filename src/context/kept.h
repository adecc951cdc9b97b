// The objects the App keeps for the layers above it: the windows, the update
// check, the hash provider FileChecksum keeps across files. Each layer makes
// its own on first use and alone knows its class; the keeper only owns them
// and lets them go, so the App needs no name from above it.
#pragma once
#include <memory>
#include <utility>
#include <vector>

namespace kv {

class Keeper {
 public:
  Keeper() = default;
  // The last made goes first, as members of a class would.
  ~Keeper();
  Keeper(const Keeper&) = delete;
  Keeper& operator=(const Keeper&) = delete;

  template <class T>
  T* Find() const {
    for (const Entry& e : entries_)
      if (e.key == &kKey<T>) return static_cast<T*>(e.object.get());
    return nullptr;
  }
  // The kept T, made from `args` when there is none.
  template <class T, class... Args>
  T& Get(Args&&... args) {
    if (T* found = Find<T>()) return *found;
    return Put<T>(std::forward<Args>(args)...);
  }
  // A new T in place of the kept one, which goes once the new one stands.
  template <class T, class... Args>
  T& Put(Args&&... args) {
    Object made(new T(std::forward<Args>(args)...), [](void* p) { delete static_cast<T*>(p); });
    T& object = *static_cast<T*>(made.get());
    Store(&kKey<T>, std::move(made));
    return object;
  }
  // Lets the kept T go; while it is being destroyed Find no longer sees it,
  // and the next Get makes a new one.
  template <class T>
  void Drop() {
    Remove(&kKey<T>);
  }

 private:
  using Object = std::unique_ptr<void, void (*)(void*)>;
  struct Entry {
    const void* key;
    Object object;
  };
  // One address per class: the key an object is kept under.
  template <class T>
  static constexpr char kKey = 0;

  void Store(const void* key, Object object);
  void Remove(const void* key);

  std::vector<Entry> entries_;
};

}  // namespace kv
