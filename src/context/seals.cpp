#include "context/seals.h"

#include "context/app.h"
#include "core/text.h"
#include "platform/date_text.h"
#include "platform/files.h"
#include "platform/protect.h"

namespace kv {

namespace {
constexpr size_t kSecretBytes = 32;

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }
}  // namespace

SealStore::SealStore(std::string dataFolder)
    : dataFolder_(std::move(dataFolder)), sealsFile_(dataFolder_ + "seals.dat") {}

bool SealStore::Unprotect(const std::string& protectedHex, std::string& secret) {
  if (!cachedProtected_.empty() && protectedHex == cachedProtected_) {
    secret = cachedSecret_;
    return true;
  }
  const auto blob = BytesOfHex(protectedHex);
  const auto plain = blob ? UnprotectForUser(*blob) : std::nullopt;
  if (!plain || plain->size() != kSecretBytes) return false;
  cachedProtected_ = protectedHex;
  cachedSecret_ = *plain;
  secret = *plain;
  return true;
}

SealStore::Loaded SealStore::Load() {
  Loaded loaded;
  const FileProbe probe = ProbeFile(sealsFile_);
  if (probe == FileProbe::Missing) {
    loaded.state = SealsWereMade(dataFolder_) ? State::Lost : State::Fresh;
    return loaded;
  }
  loaded.state = State::Lost;
  const auto text = ReadWholeFile(sealsFile_);
  auto parsed = text ? ParseSeals(*text) : std::nullopt;
  if (!parsed || !Unprotect(parsed->book.protectedSecret, loaded.secret)) return loaded;
  const auto check = HmacSha256(loaded.secret, parsed->signedText);
  if (!check || !SameSeal(HexOf(*check), parsed->check)) return loaded;
  loaded.book = std::move(parsed->book);
  loaded.state = State::Ready;
  return loaded;
}

// A new secret for a store that has none it can use. After a loss, every
// data file there is distrusted: nothing may pass for sealed that the lost
// seals could no longer vouch for.
bool SealStore::Renew(Loaded& loaded) {
  if (loaded.state == State::Ready) return true;
  const auto secret = RandomBytes(kSecretBytes);
  const auto blob = secret ? ProtectForUser(*secret) : std::nullopt;
  if (!blob) return false;
  loaded.book = SealBook();
  loaded.book.protectedSecret = HexOf(*blob);
  loaded.secret = *secret;
  if (loaded.state == State::Lost)
    if (const auto names = ListDirectory(dataFolder_))
      for (const std::string& name : *names)
        if (IsSealedDataName(name)) loaded.book.Distrust(name);
  loaded.state = State::Ready;
  return true;
}

bool SealStore::Store(const Loaded& loaded) {
  const std::string text = loaded.book.SignedText();
  const auto check = HmacSha256(loaded.secret, text);
  if (!check || !ReplaceFileContents(sealsFile_, text + SealBook::CheckLine(HexOf(*check))))
    return false;
  if (!noted_) NoteSealsMade(dataFolder_);
  noted_ = true;
  return true;
}

std::optional<std::string> SealStore::SealOf(const Loaded& loaded, const std::string& bytes) const {
  const auto mac = HmacSha256(loaded.secret, bytes);
  if (!mac) return std::nullopt;
  return HexOf(*mac);
}

SealStore::Finding SealStore::Check(const std::string& path) {
  const std::string name = NameOf(path);
  if (!IsSealedDataName(name)) return {};
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return {};
  const Loaded loaded = Load();
  if (loaded.state == State::Fresh) return {SealVerdict::Unsealed, false};
  if (loaded.state == State::Lost) return {SealVerdict::Differs, true};
  // A file with no seal at all on record was distrusted when the seals were
  // lost, and is reported as such.
  const auto seals = loaded.book.SealsOf(name);
  if (seals && seals->empty()) return {SealVerdict::Differs, true};
  const auto seal = SealOf(loaded, *bytes);
  if (!seal) return {SealVerdict::Differs, false};
  return {loaded.book.Judge(name, *seal), false};
}

bool SealStore::Replace(const std::string& path, const std::string& bytes) {
  const std::string name = NameOf(path);
  if (!IsSealedDataName(name)) return ReplaceFileContents(path, bytes);
  Loaded loaded = Load();
  if (!Renew(loaded)) return false;
  const auto next = SealOf(loaded, bytes);
  if (!next) return false;
  // The file on disk now stays acceptable until the new one is in place,
  // unless it was not to be trusted anyway.
  std::optional<std::string> current;
  if (const auto old = ReadWholeFile(path))
    if (auto seal = SealOf(loaded, *old); seal && loaded.book.Judge(name, *seal) != SealVerdict::Differs)
      current = std::move(seal);
  const auto before = loaded.book.SealsOf(name);
  loaded.book.Begin(name, current, *next);
  if (!Store(loaded)) return false;
  if (!ReplaceFileContents(path, bytes)) {
    if (before && before->empty())
      loaded.book.Distrust(name);
    else if (current)
      loaded.book.Commit(name, *current);
    Store(loaded);
    return false;
  }
  // With no old seal kept, the first step already recorded only the new one.
  if (!current) return true;
  loaded.book.Commit(name, *next);
  // Should this last step fail, the file still passes with either seal.
  Store(loaded);
  return true;
}

bool SealStore::Copy(const std::string& from, const std::string& to) {
  const auto bytes = ReadWholeFile(from);
  return bytes && Replace(to, *bytes);
}

bool SealStore::SealAsItIs(const std::string& path) {
  const std::string name = NameOf(path);
  const auto bytes = ReadWholeFile(path);
  if (!bytes || !IsSealedDataName(name)) return false;
  Loaded loaded = Load();
  if (!Renew(loaded)) return false;
  const auto seal = SealOf(loaded, *bytes);
  if (!seal) return false;
  loaded.book.Commit(name, *seal);
  return Store(loaded);
}

// ---- reporting --------------------------------------------------------------

namespace {

// Every decision about a seal is kept in a journal beside the seals (not a
// dated log: those are hand-overs of files to the scanners, and a first
// start after an update would add one for each data file).
void Journal(App& app, const std::string& line) {
  const LocalTime now = app.host.Now();
  AppendToFile(app.dataRoot + "Data\\seals.txt",
               ShortDateText(now) + " " + TimeText(now) + "  " + line + "\r\n");
}

std::string Cause(const std::string& name, bool sealsLost) {
  if (sealsLost)
    return "The seals file seals.dat is missing or damaged, so Korvanel cannot tell whether " +
           name + " was changed outside Korvanel.";
  return name + " was changed outside Korvanel: its seal does not match its contents.";
}

}  // namespace

std::string SealQuestion(const std::string& name, bool sealsLost) {
  return Cause(name, sealsLost) +
         "\r\n\r\nYes: trust " + name + " again as it is now (only if you changed it yourself)."
         "\r\nNo: rebuild " + name + " (the file as it is now is kept as " + name + ".rejected).";
}

std::string SealReport(const std::string& name, bool sealsLost) {
  return Cause(name, sealsLost) + "  Korvanel did not use it.  Start Korvanel to trust it again "
                                  "or to rebuild it.";
}

SealGuard GuardDataFile(App& app, const std::string& path) {
  const SealStore::Finding found = app.seals.Check(path);
  const std::string name = NameOf(path);
  if (found.verdict == SealVerdict::Matches) return SealGuard::Use;
  if (found.verdict == SealVerdict::Unsealed) {
    if (app.seals.SealAsItIs(path)) Journal(app, name + " had no seal yet: sealed as it was.");
    return SealGuard::Use;
  }
  app.windows.LogMessage(app, SealReport(name, found.sealsLost));
  if (app.Start().Unattended()) {
    Journal(app, name + " did not match its seal: not used by an unattended run.");
    if (!app.Start().Quiet())
      app.Ask(SealReport(name, found.sealsLost), MsgButtons::Ok, {}, MsgIcon::Warning);
    app.report.changedDataFiles.push_back(name);
    app.NoteExit(kExitCouldNotRun);
    return SealGuard::Refused;
  }
  const auto status = [&app](const std::string& text) { app.SetMainStatus(text); };
  status("Status: " + name + " was changed outside Korvanel");
  const MsgAnswer answer = app.Ask(SealQuestion(name, found.sealsLost), MsgButtons::YesNo,
                                   "Data file changed", MsgIcon::Warning);
  if (app.ended) return SealGuard::Refused;
  if (answer == MsgAnswer::Yes) {
    app.seals.SealAsItIs(path);
    Journal(app, name + " did not match its seal: trusted again by the user.");
    status("Status: " + name + " was changed outside Korvanel and is trusted again");
    return SealGuard::Use;
  }
  SetFileAside(path);
  Journal(app, name + " did not match its seal: set aside as " + name + ".rejected to be rebuilt.");
  status("Status: " + name + " was changed outside Korvanel and is rebuilt");
  return SealGuard::Rebuild;
}

}  // namespace kv
