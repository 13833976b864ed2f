// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/RescueFolder.h"

#include <QDateTime>
#include <QFile>
#include <QSet>
#include <QStringList>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillora {

namespace {

constexpr char IndexName[] = "index";

// A place the folder may be: a base reached as it is named, and the folders
// below it, each reached without following a link.
struct Place {
  QString base;
  QStringList below;
};

QList<Place> places() {
  QList<Place> list;
  const QString state = qEnvironmentVariable("XDG_STATE_HOME");
  const QString home = qEnvironmentVariable("HOME");
  const QStringList underHome{QStringLiteral(".local"), QStringLiteral("state"), QStringLiteral("quillora")};
  if (state.startsWith(u'/'))
    list.append({state, {QStringLiteral("quillora")}});
  else if (home.startsWith(u'/'))
    list.append({home, underHome});
  // The user's own home, where HOME names another's (a program run with sudo -E).
  struct stat named {};
  const bool othersHome = ::stat(QFile::encodeName(home).constData(), &named) == 0 && named.st_uid != ::geteuid();
  if (const passwd *user = ::getpwuid(::geteuid()); othersHome && user && user->pw_dir)
    list.append({QFile::decodeName(user->pw_dir), underHome});
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (runtime.startsWith(u'/')) list.append({runtime, {QStringLiteral("quillora")}});
  list.append({QStringLiteral("/tmp"), {QStringLiteral("quillora-%1").arg(::geteuid())}});
  return list;
}

// The folder of a place, made where missing when `make`: every folder below
// the base is this user's own and no link, and the last one is private.
Descriptor reach(const Place &place, bool make) {
  Descriptor folder(::open(QFile::encodeName(place.base).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  for (qsizetype i = 0; folder.valid() && i < place.below.size(); ++i) {
    const QByteArray name = QFile::encodeName(place.below.at(i));
    if (make) ::mkdirat(folder.get(), name.constData(), 0700);
    const bool last = i == place.below.size() - 1;
    Descriptor next(
        ::openat(folder.get(), name.constData(), (last ? O_RDONLY : O_PATH) | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!next.valid() || ::fstat(next.get(), &status) != 0 || status.st_uid != ::geteuid()) return Descriptor();
    if (last && (status.st_mode & 077) && ::fchmod(next.get(), 0700) != 0) return Descriptor();
    folder = std::move(next);
  }
  return folder;
}

QByteArray field(const QString &text) {
  QString one = text;
  one.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
  return one.toUtf8();
}

}  // namespace

std::optional<RescueFolder> RescueFolder::open() {
  for (const Place &place : places()) {
    Descriptor folder = reach(place, true);
    if (folder.valid() && ::faccessat(folder.get(), ".", W_OK | X_OK, AT_EACCESS) == 0)
      return RescueFolder(std::move(folder), place.base + u'/' + place.below.join(u'/'));
  }
  return std::nullopt;
}

std::optional<RescueFolder> RescueFolder::existing() {
  for (const Place &place : places()) {
    Descriptor folder = reach(place, false);
    struct stat index {};
    if (folder.valid() && ::fstatat(folder.get(), IndexName, &index, AT_SYMLINK_NOFOLLOW) == 0)
      return RescueFolder(std::move(folder), place.base + u'/' + place.below.join(u'/'));
  }
  return std::nullopt;
}

void RescueFolder::note(const QByteArray &line) {
  const Descriptor index(
      ::openat(m_folder.get(), IndexName, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600));
  if (!index.valid()) return;
  // One write: lines of programs writing at once never mix.
  [[maybe_unused]] const ssize_t written = ::write(index.get(), line.constData(), size_t(line.size()));
  ::fsync(index.get());
}

std::optional<RescueFolder::NewFile> RescueFolder::create(const QString &what, const QString &origin) {
  static int counter = 0;
  const QByteArray stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toLatin1() + '-' +
                           QByteArray::number(::getpid());
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const QByteArray name = stamp + '-' + QByteArray::number(++counter) + ".txt";
    Descriptor file(::openat(m_folder.get(), name.constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600));
    if (!file.valid() && errno == EEXIST) continue;
    if (!file.valid()) return std::nullopt;
    note("copy\t" + name + '\t' + field(what) + '\t' + field(origin) + '\n');
    return NewFile{std::move(file), name, m_path + u'/' + QFile::decodeName(name)};
  }
  return std::nullopt;
}

bool RescueFolder::keep(const QByteArray &bytes, const QString &what, const QString &origin) {
  std::optional<NewFile> copy = create(what, origin);
  if (!copy) return false;
  int error = WriteAll(copy->file.get(), bytes.constData(), bytes.size(), 0);
  if (!error && ::fsync(copy->file.get()) != 0) error = errno;
  if (const int closed = copy->file.close(); !error) error = closed;
  if (error) {
    ::unlinkat(m_folder.get(), copy->name.constData(), 0);  // a part of the text is no copy of it
    return false;
  }
  ::fsync(m_folder.get());
  return true;
}

void RescueFolder::remove(const QByteArray &name) { ::unlinkat(m_folder.get(), name.constData(), 0); }

int RescueFolder::takeUntold() {
  QFile index;
  const Descriptor read(::openat(m_folder.get(), IndexName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
  if (!read.valid() || !index.open(read.get(), QIODevice::ReadOnly)) return 0;
  QList<QByteArray> copies;
  QSet<QByteArray> told;
  for (const QByteArray &line : index.readAll().split('\n')) {
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() < 2) continue;
    if (fields.at(0) == "copy") copies.append(fields.at(1));
    if (fields.at(0) == "told") told.insert(fields.at(1));
  }
  QByteArray lines;
  int untold = 0;
  for (const QByteArray &name : std::as_const(copies)) {
    struct stat status {};
    if (told.contains(name) || ::fstatat(m_folder.get(), name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
        status.st_size == 0)
      continue;
    ++untold;
    lines += "told\t" + name + '\n';
  }
  if (!lines.isEmpty()) note(lines);
  return untold;
}

}  // namespace quillora
