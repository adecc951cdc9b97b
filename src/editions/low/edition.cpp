#include "app/edition.h"

namespace kv {

const Edition& ThisEdition() {
  static const Edition low{"KorvanelLow.exe", "Korvanel", 2, 1, 1, "2.01.0001", false, false, true};
  return low;
}

}  // namespace kv
