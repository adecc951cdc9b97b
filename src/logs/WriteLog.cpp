#include "logs/WriteLog.h"

#include <windows.h>

#include "context/app.h"
#include "core/log_file.h"
#include "core/text.h"
#include "platform/files.h"

namespace kv {

std::string LogFileNameAt(const LocalTime& t) { return LogFileName(ShortDateText(t), TimeText(t)); }

LogResult TryWriteLog(App& app, const std::string& text, int force) {
  LogResult result;
  if (force == 0) {
    if (TrimView(text).empty()) return result;
    if (text.find('.') == std::string::npos) return result;
    if (app.Start().InSecureShutDown()) app.report.shutDownFindings = true;
    if (app.boxes.Check7 == 0) return result;
  }
  result.wanted = true;
  const std::string folder = app.dataRoot + "Data\\Log\\";
  // Two logs in the same second each keep their own file.
  const std::string name = UniqueLogName(LogFileNameAt(app.host.Now()), [&](const std::string& n) {
    return FileExists(folder + n);
  });
  if (name.empty()) return result;
  const std::string path = folder + name;
  if (ReplaceFileContents(path, LogLine(text))) result.path = path;
  return result;
}

std::string WriteLog(App& app, const std::string& text, int force) {
  return TryWriteLog(app, text, force).path;
}

std::string WriteMessageLog(App& app, const std::string& message) {
  std::string line = ReplaceAll(ReplaceAll(Trim(message), "\r\n", " "), "\n", " ");
  return WriteLog(app, line + ",", 1);
}

}  // namespace kv
