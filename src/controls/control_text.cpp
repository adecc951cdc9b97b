#include "controls/control_text.h"

namespace kv::controls {

std::string ControlText(HWND control) {
  const int n = GetWindowTextLengthA(control);
  std::string s(size_t(n > 0 ? n : 0) + 1, '\0');
  s.resize(size_t(GetWindowTextA(control, s.data(), n + 1)));
  return s;
}

std::string ListLine(HWND list, int index) {
  const LRESULT n = SendMessageA(list, LB_GETTEXTLEN, WPARAM(index), 0);
  if (n == LB_ERR) return {};
  std::string text(size_t(n) + 1, '\0');
  const LRESULT got = SendMessageA(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : size_t(got));
  return text;
}

std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  const int n = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) lines.push_back(ListLine(list, i));
  return lines;
}

}  // namespace kv::controls
