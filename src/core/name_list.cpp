#include "core/name_list.h"

namespace kv {

NameList::NameList(const std::vector<std::string>& names) {
  size_t characters = 0;
  for (const std::string& name : names) characters += name.size();
  Reserve(names.size(), characters);
  for (const std::string& name : names) Add(name);
}

void NameList::Add(std::string_view name) {
  text_.append(name);
  ends_.push_back(uint32_t(text_.size()));
}

void NameList::Reserve(size_t names, size_t characters) {
  ends_.reserve(names);
  text_.reserve(characters);
}

}  // namespace kv
