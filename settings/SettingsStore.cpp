#include "settings/SettingsStore.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace quillora {

namespace {
bool isSymbolicLink(const QString &path) {
  struct stat status {};
  return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}
}  // namespace

SettingsStore::SettingsStore()
    : m_store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VIZIvev")),
      m_writable(!isSymbolicLink(m_store.fileName())) {}

QString SettingsStore::GetSetting(const QString &section, const QString &key) const {
  return m_store.value(section + u'/' + key).toString();
}

void SettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value) {
  if (m_writable) m_store.setValue(section + u'/' + key, value);
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
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

}  // namespace quillora
