#include "support/accessible_probe.h"

#include <oleacc.h>

#include "controls/accessible.h"

namespace kv::test {

namespace {

std::string Narrow(BSTR text) {
  if (!text) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
  SysFreeString(text);
  return out;
}

VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

IAccessible* ObjectOf(HWND hwnd) {
  CoInitialize(nullptr);  // once per thread is enough; later calls only count
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, DWORD(OBJID_CLIENT), controls::kIidAccessible,
                                        reinterpret_cast<void**>(&acc))))
    return nullptr;
  return acc;
}

}  // namespace

Accessible AskAccessible(HWND hwnd) {
  Accessible a;
  IAccessible* acc = ObjectOf(hwnd);
  if (!acc) return a;
  a.found = true;
  BSTR name = nullptr, action = nullptr;
  if (acc->get_accName(Self(), &name) == S_OK) a.name = Narrow(name);
  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(acc->get_accRole(Self(), &v)) && v.vt == VT_I4) a.role = v.lVal;
  VariantInit(&v);
  if (SUCCEEDED(acc->get_accState(Self(), &v)) && v.vt == VT_I4) a.state = v.lVal;
  if (acc->get_accDefaultAction(Self(), &action) == S_OK) a.action = Narrow(action);
  acc->Release();
  return a;
}

bool DoDefaultAction(HWND hwnd) {
  IAccessible* acc = ObjectOf(hwnd);
  if (!acc) return false;
  const bool done = SUCCEEDED(acc->accDoDefaultAction(Self()));
  acc->Release();
  return done;
}

}  // namespace kv::test
