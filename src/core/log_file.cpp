#include "core/log_file.h"

#include <algorithm>
#include <iterator>

#include "core/text.h"

namespace kv {
namespace {

// Every field but the last that is one character long gets a leading "0".
std::string PadDateFields(std::string_view date) {
  auto fields = Split(date, '-');
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i + 1 < fields.size() && fields[i].size() == 1) out += '0';
    out += fields[i];
    if (i + 1 < fields.size()) out += '-';
  }
  return out;
}

std::string TimePart(std::string_view timeText) {
  return ReplaceAll(ReplaceAll(timeText, ":", "_"), " ", "");
}

}  // namespace

std::string LogFileName(std::string_view dateText, std::string_view timeText) {
  return PadDateFields(ReplaceAll(dateText, "/", "-")) + "(" + TimePart(timeText) + ").log";
}

// The items become the list in one pass, as these replacements made one
// after another would: '" "' to ',', every '"' dropped, ', ' to ',', then
// each space to ','. A log of two hundred thousand files is built once,
// not copied at each step.
std::string LogLine(std::string_view text) {
  const auto comma = text.find(',');
  const auto split = comma == std::string_view::npos ? 0 : comma + 1;
  const std::string_view items = TrimView(text.substr(split));
  std::string out;
  out.reserve(split + items.size() + 2);
  out.append(text.substr(0, split));
  bool afterComma = false;  // a space right after a comma of the quote-free text goes
  for (size_t i = 0; i < items.size(); ++i) {
    char c = items[i];
    if (c == '"' && items.substr(i, 3) == "\" \"") {
      c = ',';
      i += 2;
    } else if (c == '"') {
      continue;
    }
    if (c == ' ' && afterComma) {
      afterComma = false;
      continue;
    }
    afterComma = c == ',';
    out += c == ' ' ? ',' : c;
  }
  out += CRLF;
  return out;
}

// The second log of a second gets its number inside the time part, after the
// time: "01-05-2007(8_17_49AM-2).log". The viewer still finds the date before
// "(" and the time between "(" and ")", shows it as "8:17:49 AM-2" under the
// same date, and turns that text back into this very name, because "-" and
// digits pass through its "_"/":", "AM"/"PM" and space rules unchanged. A
// number in its own parentheses would end the time part early, and one after
// ")" would break the way back from the shown text to the file.
std::string UniqueLogName(std::string_view baseName,
                          const std::function<bool(const std::string& name)>& exists) {
  std::string name(baseName);
  if (!exists || !exists(name)) return name;
  const auto open = baseName.find('(');
  const auto close = open == std::string_view::npos ? std::string_view::npos : baseName.find(')', open);
  size_t cut = baseName.size();
  if (close != std::string_view::npos)
    cut = close;
  else if (EndsWithNoCase(baseName, ".log"))
    cut -= 4;
  for (int n = 2; n <= 9999; ++n) {
    name = std::string(baseName.substr(0, cut)) + "-" + Dec(n) + std::string(baseName.substr(cut));
    if (!exists(name)) return name;
  }
  return {};
}

std::string LogDateTextOf(std::string_view fileName) {
  return PadDateFields(fileName.substr(0, fileName.find('(')));
}

std::string LogTimeTextOf(std::string_view fileName) {
  const auto open = fileName.find('(');
  if (open == std::string_view::npos) return {};
  const auto close = fileName.find(')', open + 1);
  if (close == std::string_view::npos) return {};
  auto time = ReplaceAll(fileName.substr(open + 1, close - open - 1), "_", ":");
  time = ReplaceAll(time, "AM", " AM");
  return ReplaceAll(time, "PM", " PM");
}

std::string LogFileNameOf(std::string_view dateText, std::string_view timeText) {
  return std::string(dateText) + "(" + TimePart(timeText) + ").log";
}

std::vector<std::string> ReportItems(std::string_view fileText) {
  const std::string text = ReplaceAll(Trim(fileText), CRLF, ",");
  std::vector<std::string> items;
  size_t start = 0;
  while (start < text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    std::string item = Trim(std::string_view(text).substr(start, comma - start));
    // The header keeps its place even when empty, so item 0 is never a file.
    if (items.empty() || !item.empty()) items.push_back(std::move(item));
    start = comma + 1;
  }
  return items;
}

namespace {

bool StartsFullPath(std::string_view piece) {
  if (piece.size() >= 2 && piece[0] == '\\' && piece[1] == '\\') return true;
  return piece.size() >= 3 && ((piece[0] >= 'A' && piece[0] <= 'Z') || (piece[0] >= 'a' && piece[0] <= 'z')) &&
         piece[1] == ':' && piece[2] == '\\';
}

// The pieces joined again: all separators spaces, unless another spelling
// names a file that is there. Past a few separators only the two uniform
// spellings are tried, since the choices multiply.
std::string JoinPieces(const std::vector<std::string_view>& pieces,
                       const std::function<bool(const std::string&)>& exists) {
  static constexpr std::string_view kSeparators[] = {" ", ",", ", "};
  const size_t gaps = pieces.size() - 1;
  std::vector<size_t> choice(gaps, 0);
  const auto joined = [&] {
    std::string out(pieces[0]);
    for (size_t i = 0; i < gaps; ++i) out.append(kSeparators[choice[i]]).append(pieces[i + 1]);
    return out;
  };
  const std::string spaces = joined();
  if (!exists || exists(spaces)) return spaces;
  if (gaps <= 6) {
    for (;;) {
      size_t i = 0;
      while (i < gaps && ++choice[i] == std::size(kSeparators)) choice[i++] = 0;
      if (i == gaps) break;
      if (std::string candidate = joined(); exists(candidate)) return candidate;
    }
  } else {
    std::fill(choice.begin(), choice.end(), 1);
    if (std::string commas = joined(); exists(commas)) return commas;
  }
  return spaces;
}

}  // namespace

std::vector<std::string> LoggedFiles(std::string_view fileText,
                                     const std::function<bool(const std::string& path)>& exists) {
  const std::string text = ReplaceAll(Trim(fileText), CRLF, ",");
  const size_t headerEnd = text.find(',');
  if (headerEnd == std::string::npos) return {};
  std::vector<std::vector<std::string_view>> entries;
  bool pathEntry = false;
  const std::vector<std::string> split = Split(std::string_view(text).substr(headerEnd + 1), ',');
  for (std::string_view piece : split) {
    const bool starts = StartsFullPath(piece);
    if (!starts && pathEntry) {
      entries.back().push_back(piece);
      continue;
    }
    pathEntry = starts;
    if (!TrimView(piece).empty()) entries.push_back({piece});
  }
  std::vector<std::string> files;
  for (auto& pieces : entries) {
    while (pieces.size() > 1 && pieces.back().empty()) pieces.pop_back();
    std::string file = Trim(pieces.size() == 1 ? std::string(pieces[0]) : JoinPieces(pieces, exists));
    if (!file.empty()) files.push_back(std::move(file));
  }
  return files;
}

}  // namespace kv
