#include "logs/WriteLog.h"

#include <windows.h>

#include "context/app.h"
#include "core/log_file.h"
#include "core/text.h"
#include "platform/files.h"

namespace kv {

std::string LogFileNameAt(const LocalTime& t) { return LogFileName(ShortDateText(t), TimeText(t)); }

LogResult WriteLogResult(App& app, const std::string& text, int force) {
  if (force == 0) {
    if (Trim(text).empty()) return {};
    if (text.find('.') == std::string::npos) return {};
    if (app.run.InSecureShutDown()) app.run.shutDownFindings = true;
    if (app.boxes.Check7 == 0) return {};
  }
  LogResult result{true, {}};
  const std::string folder = app.appDir + "Data\\Log\\";
  // Two logs in the same second each keep their own file.
  const std::string name = UniqueLogName(LogFileNameAt(app.host.Now()), [&](const std::string& n) {
    return FileExists(folder + n);
  });
  if (name.empty()) return result;
  if (ReplaceFileContents(folder + name, LogLine(text))) result.path = folder + name;
  return result;
}

std::string WriteLog(App& app, const std::string& text, int force) {
  return WriteLogResult(app, text, force).path;
}

}  // namespace kv
