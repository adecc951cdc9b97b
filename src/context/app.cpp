#include "context/app.h"

#include "context/maker.h"
#include "context/scan_document.h"
#include "platform/files.h"

#include <cstdlib>

namespace kv {

namespace {
std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir;
}
}  // namespace

App::App(Host& h, const Edition& e, std::string dir, std::string data)
    : host(h),
      edition(e),
      appDir(WithSlash(std::move(dir))),
      dataRoot(data.empty() ? appDir : WithSlash(std::move(data))),
      seals(dataRoot + "Data\\"),
      windows(*e.windows) {
  settingsFile = dataRoot + "Data\\Korvanel.dat";
  baselineFile = dataRoot + "Data\\Integrity.dat";
  registryFile = dataRoot + "Data\\Registry.dat";
  if (const char* stepTimes = std::getenv("KORVANEL_STEP_TIMES"); stepTimes && *stepTimes) {
    stepTimesFile = stepTimes;
    steps.on = true;
  }
}

App::~App() = default;

std::string App::DownloadUrl(const char* path) const {
  return (downloadServer.empty() ? std::string(maker::kDownloadServer) : downloadServer) + path;
}

MsgAnswer App::Ask(const std::string& text, MsgButtons buttons, const std::string& title,
                   MsgIcon icon) {
  return host.ShowMessage(text, title.empty() ? edition.title : title, buttons, icon);
}

MsgAnswer App::AskOver(HWND__* owner, const std::string& text, MsgButtons buttons,
                       const std::string& title, MsgIcon icon) {
  return host.ShowMessageOver(owner, text, title.empty() ? edition.title : title, buttons, icon);
}

void App::Tell(const std::string& text, MsgIcon icon) {
  if (start_.Scheduled()) {
    windows.LogMessage(*this, text);
    return;
  }
  Ask(text, MsgButtons::Ok, {}, icon);
}

void App::OpenHelp(const std::string& page) {
  // Shown normally: a browser told to start hidden may really stay hidden.
  const auto failed = [](long result) { return result <= 32; };
  if (!failed(host.ShellOpen(page, appDir + "Help\\", kShowNormal))) return;
  if (Ask("The Help file wasn't found or cannot be executed! Would you like to browse "
          "Korvanel help on the web?",
          MsgButtons::YesNo) == MsgAnswer::No)
    return;
  const std::string web = maker::kWebAddress;
  Ask("Click on the Korvanel page, then choose 'Online Help'.\r\rAttempting to open webpage: " + web);
  if (failed(host.ShellOpen(web, {}, kShowNormal)))
    Ask("Could not execute link! (Visit " + web + " for Korvanel help information.");
}

void App::SetMainCaption(const std::string& text) {
  mainCaption = text;
  if (windows.HasMainWindow(*this)) windows.SetMainCaption(*this, text);
}

void App::SetMainStatus(const std::string& text) {
  mainStatus = text;
  windows.SetStatus(*this, text);
}

void App::EndProgram(int exitCode) {
  if (ended) return;
  NoteExit(exitCode);
  // The run's record is written before the process is gone.
  windows.RunEnded(*this);
  ended = true;
  if (steps.on) ReplaceFileContents(stepTimesFile, steps.Report() + "\r\n");
  host.EndProgram(this->exitCode);
}

}  // namespace kv
