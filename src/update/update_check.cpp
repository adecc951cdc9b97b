#include "update/update_check.h"

#include <windows.h>

#include <cstring>

#include "context/app.h"
#include "context/maker.h"
#include "context/settings.h"
#include "core/checksum_text.h"
#include "core/clsCRC.h"
#include "core/text.h"
#include "core/update_file.h"
#include "platform/RegClass.h"
#include "platform/date_text.h"
#include "platform/files.h"

namespace kv {

namespace {

constexpr char kUtilityKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZEMU_is1";
constexpr char kUtilityFolderValue[] = "Inno Setup: App Path";

// The CRC-32 text of a file read in read-buffer-sized chunks, as the
// baselines compute it; "0" when it cannot be read.
std::string OwnChecksum(App& app, const std::string& path) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  size_t at = 0;
  clsCRC crc;
  return Crc32Text(crc.CalculateFile2(
      bytes ? std::optional<uint64_t>(bytes->size()) : std::nullopt, app.readBufferSize,
      [&](uint8_t* buffer, size_t n) {
        if (!bytes || at + n > bytes->size()) return false;
        std::memcpy(buffer, bytes->data() + at, n);
        at += n;
        return true;
      },
      [] {}));
}

// The utility's installer is a 32-bit program: its uninstall entry may be in
// the 32-bit view of the registry, which a 64-bit program does not see by
// default.
std::string UpdateUtilityFolder() {
  for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_32KEY)}) {
    RegClass reg;
    if (!reg.OpenRegistry(HKEY_LOCAL_MACHINE, kUtilityKey, view)) continue;
    std::string folder = Trim(reg.GetValue(kUtilityFolderValue));
    reg.CloseRegistry();
    if (!folder.empty()) return folder;
  }
  return {};
}

bool ShellFailed(long result) { return result <= 32; }

}  // namespace

void StartUpdateUtility(App& app) {
  std::string folder = UpdateUtilityFolder();
  if (folder.empty()) {
    const std::string web = maker::kWebAddress;
    if (app.Ask(std::string("Korvanel requires ZEMU (") + maker::kUpdateUtilityName +
                    ") to check for updates.\r\n\r\nWould you like to download ZEMU?",
                MsgButtons::YesNo) == MsgAnswer::No)
      return;
    if (app.Ask("Would you like to visit " + std::string(maker::kName) + " Online (" + web + ")?",
                MsgButtons::YesNo) == MsgAnswer::No)
      return;
    if (ShellFailed(app.host.ShellOpen(maker::kUpdateUtilityPage, {}, SW_SHOWNORMAL)))
      app.Ask("Could not shell web address. You will need to manually visit the website: " + web);
    return;
  }
  if (folder.back() != '\\') folder += '\\';
  // Quoted: under "C:\Program Files\" the system would otherwise try a
  // program called "C:\Program" first.
  app.host.StartProcess("\"" + folder + "ZEMU.exe\" Korvanel2", kShowMinimized);
}

UpdateCheck::UpdateCheck(App& app) : Downloader1(app.host), app_(app) {
  Downloader1.maxBytes = kUpdateFileMaxBytes;
  Downloader1.Accept = [](std::string_view bytes) { return IsUpdateFileText(bytes); };
  Downloader1.DownloadError = [this](const std::string&) {
    SetStatus("Status: Error - Could not check for updates.");
  };
  // A failed download leaves the error showing: the cached file is an older
  // answer, and evaluating it would record today as checked.
  Downloader1.DownloadComplete = [this](const std::string&, size_t saved) {
    if (saved > 0) CheckUpdateFile(false);
  };
}

std::string UpdateCheck::CachedFile() const { return app_.dataRoot + "Data\\update.zip"; }

std::string UpdateCheck::Today() const { return ShortDateText(app_.host.Now()); }

void UpdateCheck::BeginUpdateFileDownload() {
  Downloader1.BeginDownload(app_.DownloadUrl(maker::kUpdateFilePath), CachedFile());
}

void UpdateCheck::SetStatus(const std::string& text) {
  status_ = text;
  if (app_.wiring.setStatus) app_.wiring.setStatus(app_, text);
}

void UpdateCheck::ShowUpdates(bool available) {
  caption_ = available ? kDownloadUpdates : kCheckForUpdates;
  if (app_.wiring.showUpdateIndicator) app_.wiring.showUpdateIndicator(app_, available);
}

void UpdateCheck::Startup() {
  if (!app_.edition.hasUpdateCheck) return;
  const std::optional<std::string> last = ReadSetting(app_, "LASTCHECK");
  if (last && *last == Today()) {
    CheckUpdateFile(true);
    return;
  }
  // A new day starts from nothing: a failed download must not leave
  // yesterday's answer to be taken as today's.
  if (FileExists(CachedFile())) DeleteFileAt(CachedFile());
  BeginUpdateFileDownload();
}

void UpdateCheck::CheckUpdateFile(bool downloadIfMissing) {
  if (downloadIfMissing && !FileExists(CachedFile())) BeginUpdateFileDownload();
  const std::optional<std::string> text = ReadWholeFile(CachedFile());
  if (!text) return;
  SetStatus("Status: Checking Update file...");
  const std::optional<std::string> body = UpdateFileBody(*text);
  if (!body) {
    SetStatus("Status: Error - Update news file corrupt");
    return;
  }
  const std::string expected = ExpectedChecksum(*body);
  const std::string own = OwnChecksum(app_, app_.appDir + app_.edition.ownFileName);
  if (expected != own) {
    ShowUpdates(true);
    SetStatus("Status: Ready");
  } else {
    ShowUpdates(false);
    SetStatus("Status: Korvanel is upto date");
  }
  WriteEntry(app_, app_.settingsFile, "lastcheckedupdates", Today(), "Korvanel");
}

void UpdateCheck::ButtonClick() {
  // The low-resource edition has no update file: its button always hands
  // over to the utility.
  if (!app_.edition.hasUpdateCheck || caption_ != kCheckForUpdates) {
    StartUpdateUtility(app_);
    return;
  }
  BeginUpdateFileDownload();
}

void StartupUpdateCheck(App& app) {
  if (app.edition.hasUpdateCheck) app.Updates().Startup();
}

void UpdatesButtonClick(App& app) {
  if (!app.edition.hasUpdateCheck) {
    StartUpdateUtility(app);
    return;
  }
  app.Updates().ButtonClick();
}

std::string UpdatesButtonCaption(const App& app) {
  const UpdateCheck* updates = app.FindUpdates();
  return updates ? updates->Caption() : kCheckForUpdates;
}

UpdateCheck& App::Updates() {
  if (!updates_) updates_ = MakeOwned<UpdateCheck>(*this);
  return *updates_;
}

}  // namespace kv
