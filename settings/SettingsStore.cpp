// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace quillora {

namespace {

const QString StoreName = QStringLiteral("VIZIvev");

// Where the store's file would be, without opening it: set aside when the
// program keeps out of a folder that is not the user's.
QString &storeFolderOverride() {
  static QString folder;
  return folder;
}

QString storeFile() {
  const QString folder = storeFolderOverride().isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                             : storeFolderOverride();
  return folder + u'/' + StoreName + QStringLiteral(".ini");
}

// Nothing, or a regular file (through any links), that can be read without waiting.
bool isRegularOrAbsent(const QString &path, bool followLinks) {
  struct stat status {};
  const QByteArray name = QFile::encodeName(path);
  if ((followLinks ? ::stat(name.constData(), &status) : ::lstat(name.constData(), &status)) != 0)
    return errno == ENOENT;
  return S_ISREG(status.st_mode);
}

bool isSymbolicLink(const QString &path) {
  struct stat status {};
  return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

// QSettings waits for its lock without end; a lock that another program
// holds, or one that is not a file at all, is left alone.
bool lockIsFree(const QString &file) {
  const QString lock = file + QStringLiteral(".lock");
  if (!isRegularOrAbsent(lock, false)) return false;
  QLockFile probe(lock);
  if (!probe.tryLock(100)) return false;
  probe.unlock();
  return true;
}

}  // namespace

SettingsStore::SettingsStore() {
  const QString file = storeFile();
  if (!isRegularOrAbsent(file, true) || !lockIsFree(file)) return;
  m_store.emplace(QSettings::IniFormat, QSettings::UserScope, StoreName);
  m_writable = !isSymbolicLink(m_store->fileName());
}

QString SettingsStore::GetSetting(const QString &section, const QString &key) const {
  return m_store ? m_store->value(section + u'/' + key).toString() : QString();
}

void SettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value) {
  if (m_store && m_writable) m_store->setValue(section + u'/' + key, value);
}

void KeepSettingsInOwnFolder() {
  // The folder, or the nearest folder above it that exists, since Qt makes
  // the missing ones.
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  struct stat status {};
  while (!folder.isEmpty() && ::stat(QFile::encodeName(folder).constData(), &status) != 0 && errno == ENOENT) {
    const QString above = QFileInfo(folder).absolutePath();
    if (above == folder) break;
    folder = above;
  }
  if (status.st_uid == ::geteuid()) return;
  // A place where nothing can be made: every write is dropped, as for an unwritable store.
  const QString nowhere = QStringLiteral("/dev/null");
  storeFolderOverride() = nowhere;
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, nowhere);
}

}  // namespace quillora
