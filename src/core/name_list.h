// The names of a folder listing held in one block of text with the end of
// each name beside it: a listing of two hundred thousand files costs a few
// megabytes, where a string for each name would cost several times that.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class NameList {
 public:
  NameList() = default;
  explicit NameList(const std::vector<std::string>& names);

  void Add(std::string_view name);
  void Reserve(size_t names, size_t characters);

  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](size_t i) const {
    const size_t from = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(from, ends_[i] - from);
  }

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const_iterator() = default;
    const_iterator(const NameList* list, size_t i) : list_(list), i_(i) {}
    std::string_view operator*() const { return (*list_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator was = *this;
      ++i_;
      return was;
    }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }

   private:
    const NameList* list_ = nullptr;
    size_t i_ = 0;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  bool operator==(const NameList& o) const { return ends_ == o.ends_ && text_ == o.text_; }

 private:
  std::string text_;
  // Four bytes a name: a listing's text stays far below four gigabytes
  // (sixteen million names of the longest kind).
  std::vector<uint32_t> ends_;
};

}  // namespace kv
