#pragma once
// The per-user settings store: string values addressed by section and key,
// kept by QSettings in INI form in $XDG_CONFIG_HOME/VIZIvev.ini. A missing,
// corrupt or unwritable store never stops the program: it reads as empty, and
// a write that cannot happen is dropped.

#include <QSettings>
#include <QString>

namespace quillora {

class SettingsStore {
 public:
  SettingsStore();
  // A missing key reads as the empty string.
  QString GetSetting(const QString &section, const QString &key) const;
  void SaveSetting(const QString &section, const QString &key, const QString &value);

 private:
  QSettings m_store;  // written back once, when the store object goes
};

}  // namespace quillora
