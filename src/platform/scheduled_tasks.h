// The tasks of the Task Scheduler, read through its own interface.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace kv {

struct ScheduledTask {
  std::string path;  // "\Folder\Name"
  // Each action's program and arguments (CommandText), "|" between them; a
  // COM handler action as "COM handler " and the action's id.
  std::string actions;
};

// Every task of every folder, hidden ones included; nullopt when the Task
// Scheduler cannot be reached.
std::optional<std::vector<ScheduledTask>> ListScheduledTasks();

}  // namespace kv
