#include "controls/accessible.h"

#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <string>
#include <utility>

namespace kv::controls {

namespace {

BSTR ToBstr(const std::string& text) {
  if (text.empty()) return nullptr;
  const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, UINT(wide));
  if (out) MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out, wide);
  return out;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The client object of one window. Everything but name, role, state and
// default action goes to the system's standard object, which knows the
// window's place, parent and neighbours.
class ClientObject final : public IAccessible {
 public:
  ClientObject(HWND hwnd, IAccessible* standard, FactsSource facts)
      : hwnd_(hwnd), standard_(standard), facts_(std::move(facts)) {}
  ClientObject(const ClientObject&) = delete;
  ClientObject& operator=(const ClientObject&) = delete;

  // --- IUnknown ---
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // IOleWindow, IEnumVARIANT and the like come from the standard object.
    return standard_->QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // --- IDispatch ---
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID lcid, ITypeInfo** info) override {
    return standard_->GetTypeInfo(i, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT* arg) override {
    return standard_->Invoke(id, iid, lcid, flags, params, result, info, arg);
  }

  // --- IAccessible: the control's own answers ---
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    const auto facts = Facts();
    if (!facts) return standard_->get_accName(child, name);
    *name = ToBstr(facts->name);
    return *name ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    const auto facts = IsSelf(child) ? Facts() : std::nullopt;
    if (!facts || !facts->role) return standard_->get_accRole(child, role);
    VariantInit(role);
    role->vt = VT_I4;
    role->lVal = facts->role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    const auto facts = IsSelf(child) ? Facts() : std::nullopt;
    if (!facts || !facts->role) return standard_->get_accState(child, state);
    long s = facts->state;
    if (!IsWindow(hwnd_) || !IsWindowVisible(hwnd_)) s |= STATE_SYSTEM_INVISIBLE;
    if (IsWindow(hwnd_) && !IsWindowEnabled(hwnd_)) s |= STATE_SYSTEM_UNAVAILABLE;
    const LONG_PTR style = IsWindow(hwnd_) ? GetWindowLongPtrA(hwnd_, GWL_STYLE) : 0;
    if ((style & WS_TABSTOP) && !(s & STATE_SYSTEM_UNAVAILABLE)) s |= STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == hwnd_ && hwnd_) s |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE;
    VariantInit(state);
    state->vt = VT_I4;
    state->lVal = s;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    const auto facts = IsSelf(child) ? Facts() : std::nullopt;
    if (!facts || !facts->role) return standard_->get_accDefaultAction(child, action);
    *action = ToBstr(facts->defaultAction);
    return *action ? S_OK : S_FALSE;
  }
  // Posted, not sent: the click may open a modal box, which must not run
  // inside the caller's request.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const auto facts = IsSelf(child) ? Facts() : std::nullopt;
    if (!facts || !facts->role) return standard_->accDoDefaultAction(child);
    if (facts->defaultAction.empty() || (facts->state & STATE_SYSTEM_UNAVAILABLE))
      return DISP_E_MEMBERNOTFOUND;
    return PostMessageA(hwnd_, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
  }

  // --- IAccessible: the standard object's answers ---
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return standard_->get_accHelp(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return standard_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT child) override {
    return standard_->accLocation(x, y, w, h, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG dir, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(dir, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~ClientObject() { standard_->Release(); }

  // Asked afresh every time: a client may keep the object while the
  // control changes, or after the window is gone.
  std::optional<AccessibleFacts> Facts() const {
    if (!IsWindow(hwnd_) || !facts_) return std::nullopt;
    return facts_();
  }

  std::atomic<ULONG> refs_{1};
  HWND hwnd_;
  IAccessible* standard_;
  FactsSource facts_;
};

}  // namespace

LRESULT AnswerGetObject(HWND hwnd, WPARAM wp, LPARAM lp, FactsSource facts) {
  if (static_cast<LONG>(lp) != static_cast<LONG>(OBJID_CLIENT)) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kIidAccessible,
                                       reinterpret_cast<void**>(&standard))) ||
      !standard)
    return 0;
  auto* object = new ClientObject(hwnd, standard, std::move(facts));
  const LRESULT answer = LresultFromObject(kIidAccessible, wp, static_cast<IAccessible*>(object));
  object->Release();  // LresultFromObject holds its own reference until the client takes it
  return answer > 0 ? answer : 0;
}

namespace {

constexpr UINT_PTR kNameSubclass = 0x4B4E;
constexpr char kNameProp[] = "KorvanelAccessibleName";

LRESULT CALLBACK NamedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  auto* name = static_cast<std::string*>(GetPropA(hwnd, kNameProp));
  if (name && msg == WM_GETOBJECT && static_cast<LONG>(lp) == static_cast<LONG>(OBJID_CLIENT)) {
    // A copy: the object may be asked after the control is gone.
    if (LRESULT answer = AnswerGetObject(hwnd, wp, lp, [text = *name]() -> std::optional<AccessibleFacts> {
          return AccessibleFacts{text, 0, 0, ""};
        }))
      return answer;
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &NamedProc, kNameSubclass);
    RemovePropA(hwnd, kNameProp);
    delete name;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void NameForAccessibility(HWND control, std::string name) {
  if (!control) return;
  if (auto* kept = static_cast<std::string*>(GetPropA(control, kNameProp))) {
    *kept = std::move(name);
  } else {
    kept = new std::string(std::move(name));
    if (!SetPropA(control, kNameProp, kept) || !SetWindowSubclass(control, &NamedProc, kNameSubclass, 0)) {
      RemovePropA(control, kNameProp);
      delete kept;
      return;
    }
  }
  NotifyNameChange(control);
}

void NotifyNameChange(HWND hwnd) {
  if (hwnd) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void NotifyStateChange(HWND hwnd) {
  if (hwnd) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace kv::controls
