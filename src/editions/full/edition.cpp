#include "app/edition.h"

namespace kv {

const Edition& ThisEdition() {
  static const Edition full{"Korvanel.exe", "Korvanel", 2, 2, 0, "2.02", true, true, false};
  return full;
}

}  // namespace kv
