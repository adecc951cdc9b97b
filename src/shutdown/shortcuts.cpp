#include "shutdown/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shlobj.h>

#include <vector>

#include "context/app.h"
#include "core/text.h"
#include "platform/files.h"
#include "platform/shell_folders.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::wstring Wide(const std::string& s) { return WideText(s); }

// COM for the length of one shortcut operation, on a thread that may or may
// not have it already.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** put() { return &p_; }
  void** putVoid() { return reinterpret_cast<void**>(&p_); }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  explicit Variant(const std::string& text) {
    VariantInit(&v_);
    v_.vt = VT_BSTR;
    v_.bstrVal = SysAllocString(Wide(text).c_str());
  }
  explicit Variant(int number) {
    VariantInit(&v_);
    v_.vt = VT_I4;
    v_.lVal = number;
  }
  ~Variant() { VariantClear(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* get() { return &v_; }

 private:
  VARIANT v_;
};

// One late-bound call on a scripting object: a method with arguments, or a
// property assignment.
HRESULT Call(IDispatch* object, const wchar_t* name, WORD kind, std::vector<VARIANT*> args,
             VARIANT* result = nullptr) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  std::vector<VARIANT> reversed;  // the interface takes them last first
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(**it);
  DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
  DISPID named = DISPID_PROPERTYPUT;
  if (kind == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr, nullptr);
}

}  // namespace

std::string ProgramFile(const App& app) {
  // A full-path buffer that grows until the module's name fits.
  std::vector<wchar_t> buf(MAX_PATH + 1);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
    if (n == 0) return app.appDir + app.edition.ownFileName;
    if (n < buf.size()) break;
    buf.resize(buf.size() * 2);
  }
  std::string name = NarrowText(buf.data());
  if (const size_t slash = name.find_last_of("\\/"); slash != std::string::npos) name.erase(0, slash + 1);
  if (const size_t dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
  return WithBackslash(app.appDir) + name + ".exe";
}

std::vector<std::string> AutoLoadShortcutPaths() {
  std::vector<std::string> links;
  for (const std::string& folder : StartupFolderPaths()) links.push_back(WithBackslash(folder) + "Korvanel.lnk");
  return links;
}

std::string AutoLoadShortcutPath() { return AutoLoadShortcutPaths().front(); }

bool AutoLoadShortcutExists() {
  for (const std::string& link : AutoLoadShortcutPaths())
    if (FileExists(link)) return true;
  return false;
}

bool CreateShellLink(const std::string& link, const std::string& target,
                     const std::string& workingFolder, const std::string& arguments,
                     const std::string& iconFile, int iconIndex, int showCommand) {
  if (link.empty() || target.empty()) return false;
  ComScope com;
  ComPtr<IShellLinkW> shell;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shell.putVoid())))
    return false;
  if (FAILED(shell->SetPath(Wide(target).c_str()))) return false;
  if (!workingFolder.empty() && FAILED(shell->SetWorkingDirectory(Wide(workingFolder).c_str())))
    return false;
  if (!arguments.empty() && FAILED(shell->SetArguments(Wide(arguments).c_str()))) return false;
  if (FAILED(shell->SetDescription(L"Access Shortcut"))) return false;
  if (!iconFile.empty() && FAILED(shell->SetIconLocation(Wide(iconFile).c_str(), iconIndex)))
    return false;
  if (FAILED(shell->SetShowCmd(showCommand))) return false;
  if (FAILED(shell->Resolve(nullptr, SLR_UPDATE | SLR_NO_UI))) return false;
  ComPtr<IPersistFile> file;
  if (FAILED(shell->QueryInterface(IID_IPersistFile, file.putVoid()))) return false;
  return SUCCEEDED(file->Save(Wide(link).c_str(), FALSE));
}

bool CreateScriptedShortcut(const std::string& link, const std::string& description,
                            const std::string& target, const std::string& arguments,
                            int windowStyle) {
  ComScope com;
  CLSID cls{};
  if (FAILED(CLSIDFromProgID(L"WScript.Shell", &cls))) return false;
  ComPtr<IDispatch> shell;
  if (FAILED(CoCreateInstance(cls, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              shell.putVoid())))
    return false;
  std::string path = link;
  const std::string ending = LCase(Right(path, 4));
  if (ending != ".lnk" && ending != ".url") path += ".lnk";
  Variant pathArg(path), made;
  if (FAILED(Call(shell.get(), L"CreateShortcut", DISPATCH_METHOD, {pathArg.get()}, made.get())) ||
      made.get()->vt != VT_DISPATCH || !made.get()->pdispVal)
    return false;
  IDispatch* shortcut = made.get()->pdispVal;  // released with `made`
  Variant args(arguments), desc(description), targetPath(target), style(windowStyle);
  if (FAILED(Call(shortcut, L"Arguments", DISPATCH_PROPERTYPUT, {args.get()})) ||
      FAILED(Call(shortcut, L"Description", DISPATCH_PROPERTYPUT, {desc.get()})) ||
      FAILED(Call(shortcut, L"TargetPath", DISPATCH_PROPERTYPUT, {targetPath.get()})) ||
      FAILED(Call(shortcut, L"WindowStyle", DISPATCH_PROPERTYPUT, {style.get()})))
    return false;
  return SUCCEEDED(Call(shortcut, L"Save", DISPATCH_METHOD, {}));
}

void CreateSecureShutDownShortcut(App& app) {
  std::string folder;
  if (app.Ask("Korvanel will now create a shortcut for you to use the Secure ShutDown and Scan "
              "Feature.\r\n\r\nWould you like this shortcut on your Desktop?",
              MsgButtons::YesNo) == MsgAnswer::No) {
    app.Ask("Korvanel will now create a SecureShutDown shortcut in your Korvanel directory.");
    folder = WithBackslash(app.appDir);
  } else if (const std::string desktop = DesktopFolderPath(); desktop.empty()) {
    app.Ask("Error: Could not find Desktop directory...Creating shortcut in Korvanel directory.");
    folder = WithBackslash(app.appDir);
  } else {
    folder = WithBackslash(desktop);
  }
  const std::string link = folder + "SecureShutDown.lnk";
  bool there = FileExists(link);
  if (!there) {
    const std::string program = ProgramFile(app);
    there = app.useScriptingHost == 1
                ? CreateScriptedShortcut(link, "SecureShutDown", program, "/s", 0)
                : CreateShellLink(link, program, "", " /s", program, 0, 5);
  }
  if (there)
    app.Ask("Success!");
  else
    ReportShortcutNotCreated(app, link);
}

void ReportShortcutNotCreated(App& app, const std::string& link) {
  app.Ask("Could not create the shortcut " + link + ".", MsgButtons::Ok, {}, MsgIcon::Error);
}

namespace {

// The scripting host replaces what is there; the shell link keeps a
// shortcut that exists. Either way it counts only once the file is there.
bool MakeAutoLoadShortcut(App& app, const std::string& link) {
  const std::string program = ProgramFile(app);
  if (app.useScriptingHost == 1)
    return CreateScriptedShortcut(link, "Korvanel", program, "/r", 0) && FileExists(link);
  return FileExists(link) || (CreateShellLink(link, program, "", " /r", program, 0, 5) && FileExists(link));
}

// The common Startup folder is closed to a standard account, so the user's
// own takes the shortcut then. One shortcut only: two would start the
// logon check twice.
std::string PlaceAutoLoadShortcut(App& app, const std::vector<std::string>& links) {
  for (const std::string& link : links) {
    if (!MakeAutoLoadShortcut(app, link)) continue;
    for (const std::string& other : links)
      if (other != link && FileExists(other)) DeleteFileAt(other);
    return {};
  }
  return links.back();
}

}  // namespace

std::string ApplyAutoLoadFromSettingsPage(App& app, bool autoLoad) {
  // Always made anew, so a shortcut that went stale is refreshed.
  const std::vector<std::string> links = AutoLoadShortcutPaths();
  for (const std::string& link : links)
    if (FileExists(link)) DeleteFileAt(link);
  if (!autoLoad) return {};
  return PlaceAutoLoadShortcut(app, links);
}

std::string ApplyAutoLoadFromWizard(App& app, bool autoLoad) {
  const std::vector<std::string> links = AutoLoadShortcutPaths();
  if (!autoLoad) {
    for (const std::string& link : links) DeleteFileAt(link);
    return {};
  }
  if (app.useScriptingHost != 1 && AutoLoadShortcutExists()) return {};
  return PlaceAutoLoadShortcut(app, links);
}

}  // namespace kv
