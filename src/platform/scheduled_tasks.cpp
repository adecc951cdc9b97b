#include "platform/scheduled_tasks.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <taskschd.h>

#include "core/regwatch_rules.h"
#include "platform/wide_text.h"

namespace kv {

namespace {

// Releases a COM interface when it goes.
template <class T>
struct Com {
  T* p = nullptr;
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() {
    if (p) p->Release();
  }
  T** put() { return &p; }
  T* operator->() const { return p; }
  explicit operator bool() const { return p != nullptr; }
};

std::string Take(BSTR s) {
  std::string out = s ? NarrowText(std::wstring_view(s, SysStringLen(s))) : std::string();
  SysFreeString(s);
  return out;
}

std::string ActionsText(IRegisteredTask* task) {
  Com<ITaskDefinition> definition;
  Com<IActionCollection> actions;
  LONG count = 0;
  if (FAILED(task->get_Definition(definition.put())) || !definition ||
      FAILED(definition->get_Actions(actions.put())) || !actions || FAILED(actions->get_Count(&count)))
    return {};
  std::string text;
  for (LONG i = 1; i <= count; ++i) {  // the collection counts from 1
    Com<IAction> action;
    if (FAILED(actions->get_Item(i, action.put())) || !action) continue;
    TASK_ACTION_TYPE type{};
    action->get_Type(&type);
    std::string one;
    if (type == TASK_ACTION_EXEC) {
      Com<IExecAction> exec;
      if (FAILED(action->QueryInterface(IID_IExecAction, reinterpret_cast<void**>(exec.put()))))
        continue;
      BSTR path = nullptr, args = nullptr;
      exec->get_Path(&path);
      exec->get_Arguments(&args);
      const std::string program = Take(path);
      one = CommandText(program, Take(args));
    } else if (type == TASK_ACTION_COM_HANDLER) {
      BSTR id = nullptr;
      action->get_Id(&id);
      one = "COM handler " + Take(id);
    } else {
      continue;  // mail and message actions start no program
    }
    if (!text.empty()) text += " | ";
    text += one;
  }
  return text;
}

void ListFolder(ITaskFolder* folder, std::vector<ScheduledTask>& tasks, int depth) {
  Com<IRegisteredTaskCollection> collection;
  LONG count = 0;
  if (SUCCEEDED(folder->GetTasks(TASK_ENUM_HIDDEN, collection.put())) && collection &&
      SUCCEEDED(collection->get_Count(&count))) {
    for (LONG i = 1; i <= count; ++i) {
      VARIANT index;
      VariantInit(&index);
      index.vt = VT_I4;
      index.lVal = i;
      Com<IRegisteredTask> task;
      if (FAILED(collection->get_Item(index, task.put())) || !task) continue;
      BSTR path = nullptr;
      task->get_Path(&path);
      tasks.push_back({Take(path), ActionsText(task.p)});
    }
  }
  // Folders nest; a loop in them (which the service should never show)
  // must not hang a pass.
  if (depth >= 32) return;
  Com<ITaskFolderCollection> folders;
  if (FAILED(folder->GetFolders(0, folders.put())) || !folders || FAILED(folders->get_Count(&count)))
    return;
  for (LONG i = 1; i <= count; ++i) {
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = i;
    Com<ITaskFolder> sub;
    if (SUCCEEDED(folders->get_Item(index, sub.put())) && sub) ListFolder(sub.p, tasks, depth + 1);
  }
}

}  // namespace

std::optional<std::vector<ScheduledTask>> ListScheduledTasks() {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::optional<std::vector<ScheduledTask>> result;
  {
    Com<ITaskService> service;
    Com<ITaskFolder> root;
    VARIANT none;
    VariantInit(&none);
    BSTR rootPath = SysAllocString(L"\\");
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                   reinterpret_cast<void**>(service.put()))) &&
        SUCCEEDED(service->Connect(none, none, none, none)) &&
        SUCCEEDED(service->GetFolder(rootPath, root.put())) && root) {
      result.emplace();
      ListFolder(root.p, *result, 0);
    }
    SysFreeString(rootPath);
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return result;
}

}  // namespace kv
