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

// A file's seal, made as it is read: a baseline of tens of megabytes is
// never held whole to be sealed. `alsoTake` sees the same pieces.
struct FileSeal {
  PiecesRead read = PiecesRead::NotOpened;
  std::optional<std::string> seal;  // nullopt unless the file was read whole and sealed
};
FileSeal SealFile(const std::string& secret, const std::string& path,
                  const std::function<void(std::string_view)>& alsoTake = {}) {
  HmacSha256Stream mac(secret);
  FileSeal file;
  file.read = ReadFileInPieces(path, [&](std::string_view piece) {
    mac.Add(piece);
    if (alsoTake) alsoTake(piece);
  });
  if (file.read == PiecesRead::Whole)
    if (const auto digest = mac.Finish()) file.seal = HexOf(*digest);
  return file;
}
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

SealStore::Finding SealStore::Check(const std::string& path) {
  const std::string name = NameOf(path);
  if (!IsSealedDataName(name)) return {};
  const Loaded loaded = Load();
  const FileSeal file = SealFile(loaded.secret, path);
  if (file.read == PiecesRead::NotOpened) return {};
  return Verdict(loaded, name, file.seal);
}

SealStore::Finding SealStore::Verdict(const Loaded& loaded, const std::string& name,
                                      const std::optional<std::string>& seal) const {
  if (loaded.state == State::Fresh) return {SealVerdict::Unsealed, false};
  if (loaded.state == State::Lost) return {SealVerdict::Differs, true};
  // A file with no seal at all on record was distrusted when the seals were
  // lost, and is reported as such.
  const auto seals = loaded.book.SealsOf(name);
  if (seals && seals->empty()) return {SealVerdict::Differs, true};
  if (!seal) return {SealVerdict::Differs, false};
  return {loaded.book.Judge(name, *seal), false};
}

std::optional<std::string> SealStore::ReadVouched(const std::string& path) {
  auto bytes = ReadWholeFile(path);
  const std::string name = NameOf(path);
  if (!bytes || !IsSealedDataName(name)) return bytes;
  const Loaded loaded = Load();
  std::optional<std::string> seal;  // none without a secret: Verdict judges by the state first
  if (const auto mac = HmacSha256(loaded.secret, *bytes)) seal = HexOf(*mac);
  if (Verdict(loaded, name, seal).verdict == SealVerdict::Differs) return std::nullopt;
  return bytes;
}

bool SealStore::Place(Loaded& loaded, const std::string& path, const std::string& next,
                      const std::function<bool()>& put) {
  const std::string name = NameOf(path);
  // The file on disk now stays acceptable until the new one is in place,
  // unless it was not to be trusted anyway.
  std::optional<std::string> current = SealFile(loaded.secret, path).seal;
  if (current && loaded.book.Judge(name, *current) == SealVerdict::Differs) current.reset();
  const auto before = loaded.book.SealsOf(name);
  loaded.book.Begin(name, current, next);
  if (!Store(loaded)) return false;
  if (!put()) {
    if (before && before->empty())
      loaded.book.Distrust(name);
    else if (current)
      loaded.book.Commit(name, *current);
    Store(loaded);
    return false;
  }
  // With no old seal kept, the first step already recorded only the new one.
  if (!current) return true;
  loaded.book.Commit(name, next);
  // Should this last step fail, the file still passes with either seal.
  Store(loaded);
  return true;
}

bool SealStore::Replace(const std::string& path, const std::string& bytes) {
  return Replace(path, std::vector<std::string_view>{bytes});
}

bool SealStore::Replace(const std::string& path, const std::vector<std::string_view>& pieces) {
  const auto put = [&] {
    PendingFile file(path);
    for (const std::string_view piece : pieces)
      if (!file.Write(piece)) return false;
    return file.Place();
  };
  if (!IsSealedDataName(NameOf(path))) return put();
  Loaded loaded = Load();
  if (!Renew(loaded)) return false;
  HmacSha256Stream mac(loaded.secret);
  for (const std::string_view piece : pieces) mac.Add(piece);
  const auto next = mac.Finish();
  return next && Place(loaded, path, HexOf(*next), put);
}

bool SealStore::Copy(const std::string& from, const std::string& to) {
  const bool sealedFrom = IsSealedDataName(NameOf(from)), sealedTo = IsSealedDataName(NameOf(to));
  if (!sealedFrom && !sealedTo) return CopyFileTo(from, to);
  Loaded loaded = Load();
  if (!Renew(loaded)) return false;
  PendingFile copy(to);
  const FileSeal file = SealFile(loaded.secret, from, [&](std::string_view piece) { copy.Write(piece); });
  if (!file.seal) return false;
  // The bytes copied are the bytes judged, so a file changed behind the
  // program's back between a check and the copy is never copied.
  if (sealedFrom && loaded.book.Judge(NameOf(from), *file.seal) == SealVerdict::Differs) return false;
  if (!sealedTo) return copy.Place();
  return Place(loaded, to, *file.seal, [&] { return copy.Place(); });
}

bool SealStore::SealAsItIs(const std::string& path) {
  const std::string name = NameOf(path);
  if (!IsSealedDataName(name)) return false;
  Loaded loaded = Load();
  if (!Renew(loaded)) return false;
  const auto seal = SealFile(loaded.secret, path).seal;
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
