// Check boxes whose lit captions clear one another, across windows: the
// main window's settings boxes and the wizard's show one lit caption at a
// time. A window keeps a LitCheckList as a member (declared after its
// boxes) and adds its boxes; the list leaves the registry with the window.
#pragma once
#include <functional>
#include <vector>

namespace kv {

class check;

class LitCheckList {
 public:
  // takesPart: whether this window's boxes are cleared now (the wizard's
  // only while it is visible); none means always.
  explicit LitCheckList(std::function<bool()> takesPart = {});
  ~LitCheckList();
  LitCheckList(const LitCheckList&) = delete;
  LitCheckList& operator=(const LitCheckList&) = delete;

  // The box's caption, when it lights up, first clears every listed box.
  void Add(check& box);
  void Add(std::initializer_list<check*> boxes);

  // Clears the lit caption of every box of every list that takes part.
  static void ClearAll();

 private:
  std::function<bool()> takesPart_;
  std::vector<check*> boxes_;
};

}  // namespace kv
