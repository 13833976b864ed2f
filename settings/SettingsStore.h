// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-user settings store: string values addressed by section and key,
// kept by QSettings in INI form in $XDG_CONFIG_HOME/VIZIvev.ini. A missing,
// corrupt or unwritable store never stops the program: it reads as empty, and
// a write that cannot happen is dropped. The store is read and written only
// when it is a regular file or absent, and its lock is free or can be taken
// at once: a pipe, a folder or a lock that stays would otherwise hold the
// program for good. A store file that is a symbolic link is not written: a
// save would replace whatever it points at.

#include <QSettings>
#include <QString>
#include <optional>

namespace quillora {

class SettingsStore {
 public:
  SettingsStore();
  // A missing key reads as the empty string.
  QString GetSetting(const QString &section, const QString &key) const;
  void SaveSetting(const QString &section, const QString &key, const QString &value);

 private:
  std::optional<QSettings> m_store;  // written back once, when the store object goes
  bool m_writable = false;
};

// Settings are written only into a folder of the user the program runs as:
// run as root with another user's configuration folder (sudo -E keeps it),
// the program writes nothing there, neither its own store nor Qt's (the file
// dialog's), and reads nothing from it. Called once, before any settings are made.
void KeepSettingsInOwnFolder();

}  // namespace quillora
