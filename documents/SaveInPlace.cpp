// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/SaveInPlace.h"

#include "documents/RescueFolder.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <optional>
#include <utility>

namespace quillora {

namespace {

// The old text, copied before the file is written in place: beside it, or
// in the rescue folder where the file's own folder takes no backup.
struct Backup {
  Descriptor file;
  QByteArray name;
  QString path;
  std::optional<RescueFolder> rescue;  // where it is, when not beside the file
};

// The whole of the old text into a new backup, on disk.
int fillBackup(int file, int made, qint64 size) {
  const int error = CloneOrCopy(file, made, size);
  return error ? error : ::fsync(made) == 0 ? 0 : errno;
}

// Makes the backup: "name~", or "name.~1~" … where that name is taken; an
// empty backup of the user's own, which a folder that keeps its files left
// after an earlier save, is used again. Where none can be made beside the
// file (a folder the user may not write, a name too long, every name
// taken), it goes into the rescue folder. On disk, name and all, before the
// file is touched.
int makeBackup(const Place &place, int file, qint64 size, Backup &backup) {
  const int folder = place.folder.get();
  int beside = EEXIST;
  for (int n = 0; n < 10; ++n) {
    const QByteArray name = place.name + (n == 0 ? QByteArray("~") : ".~" + QByteArray::number(n) + '~');
    const int flags = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
    Descriptor made(::openat(folder, name.constData(), flags | O_CREAT | O_EXCL, 0600));
    if (!made.valid() && errno == EEXIST) {
      Descriptor earlier(::openat(folder, name.constData(), flags | O_NONBLOCK));
      struct stat s {};
      if (earlier.valid() && ::fstat(earlier.get(), &s) == 0 && S_ISREG(s.st_mode) && s.st_uid == ::geteuid() &&
          s.st_nlink == 1 && s.st_size == 0)
        made = std::move(earlier);
      else
        continue;
    }
    if (!made.valid()) {
      beside = errno;
      break;
    }
    if (const int error = fillBackup(file, made.get(), size)) {
      ::unlinkat(folder, name.constData(), 0);
      return error;
    }
    if (place.readable() >= 0) ::fsync(place.readable());
    backup.file = std::move(made);
    backup.name = name;
    backup.path = QFile::decodeName(place.folderPath + '/' + name);
    return 0;
  }
  backup.rescue = RescueFolder::open();
  std::optional<RescueFolder::NewFile> made =
      backup.rescue ? backup.rescue->create(QStringLiteral("the old text, while it is saved"),
                                            QFile::decodeName(place.folderPath + '/' + place.name))
                    : std::nullopt;
  if (!made) return beside;
  // Opened for writing only: the text is read back through the descriptor's name.
  Descriptor writable(::open(DescriptorPath(made->file.get()).constData(), O_RDWR | O_CLOEXEC | O_NOCTTY));
  if (!writable.valid()) writable = std::move(made->file);
  if (const int error = fillBackup(file, writable.get(), size)) {
    backup.rescue->remove(made->name);
    return error;
  }
  backup.file = std::move(writable);
  backup.name = made->name;
  backup.path = made->path;
  return 0;
}

// Once the new text is whole on disk. A folder that keeps its files keeps
// the backup too, emptied.
void dropBackup(const Place &place, Backup &backup) {
  if (backup.rescue) {
    backup.rescue->remove(backup.name);
    return;
  }
  if (::unlinkat(place.folder.get(), backup.name.constData(), 0) == 0) return;
  [[maybe_unused]] const int emptied = ::ftruncate(backup.file.get(), 0);
}

}  // namespace

WriteAttempt WriteInPlace(const Place &place, int existing, const struct stat &old, const QByteArray &bytes,
                          const FileVersion *asRead) {
  WriteAttempt attempt;
  const auto ends = [&attempt](SaveResult result) {
    attempt.result = std::move(result);
    return attempt;
  };
  const int flags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  Descriptor file(::open(DescriptorPath(existing).constData(), flags));
  if (!file.valid() && errno != EACCES)
    file = Descriptor(::openat(place.folder.get(), place.name.constData(), flags | O_NOFOLLOW));
  if (!file.valid()) return ends({errno});
  struct stat now {};
  if (::fstat(file.get(), &now) != 0) return ends({errno});
  if (!SameFile(now, old)) return ends({ChangedMeanwhile});
  if (asRead && !StillAsRead(file.get(), now, *asRead)) return ends({ChangedOnDisk});
  Backup backup;
  if (const int error = makeBackup(place, file.get(), now.st_size, backup)) return ends({error, true});
  ObserveSave(SaveStep::BackupMade, backup.file.get());
  const auto failed = [&](int error) {
    if (CloneOrCopy(backup.file.get(), file.get(), now.st_size) == 0 && ::ftruncate(file.get(), now.st_size) == 0 &&
        ::fsync(file.get()) == 0) {
      dropBackup(place, backup);
      return ends({error});
    }
    return ends({error, false, backup.path});
  };
  // A full disk is met before the old bytes are touched, where the file
  // system reserves space; one that copies what it writes reserves nothing.
  if (bytes.size() > now.st_size) {
    const int reserved = ::posix_fallocate(file.get(), 0, off_t(bytes.size()));
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) return failed(reserved);
  }
  if (const int error = WriteAll(file.get(), bytes.constData(), bytes.size(), 0)) return failed(error);
  ObserveSave(SaveStep::WrittenInPlace, file.get());
  if (::ftruncate(file.get(), off_t(bytes.size())) != 0) return failed(errno);
  ObserveSave(SaveStep::CutToLength, file.get());
  if (::fsync(file.get()) != 0) return failed(errno);
  ObserveSave(SaveStep::SyncedInPlace, file.get());
  ::fstat(file.get(), &attempt.status);
  if (const int error = file.close()) return ends({error, false, backup.path});
  dropBackup(place, backup);
  return attempt;
}

}  // namespace quillora
