#include "platform/shell_links.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/wide_text.h"

namespace kv {

std::optional<ShellLinkTarget> ReadShellLink(const std::string& link) {
  // COM only for this call, on a thread that may have it already.
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::optional<ShellLinkTarget> result;
  IShellLinkW* shell = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&shell))) &&
      SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(WideText(link).c_str(), STGM_READ))) {
    // The path as stored, not resolved: resolving may search the disk and
    // would show where the link points now rather than what it says.
    wchar_t path[32768] = L"";
    wchar_t args[32768] = L"";
    if (shell->GetPath(path, int(std::size(path)), nullptr, SLGP_RAWPATH) == S_OK && path[0]) {
      shell->GetArguments(args, int(std::size(args)));
      result = ShellLinkTarget{NarrowText(path), NarrowText(args)};
    }
  }
  if (file) file->Release();
  if (shell) shell->Release();
  if (SUCCEEDED(init)) CoUninitialize();
  return result;
}

}  // namespace kv
