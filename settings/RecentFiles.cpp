#include "settings/RecentFiles.h"

#include <QSettings>

namespace quillora {

namespace {
const QString Section = QStringLiteral("Recent Files");

QString recentKey(int slot) { return QStringLiteral("RecentFile%1").arg(slot); }
}  // namespace

namespace settings {

// QSettings in INI form: $XDG_CONFIG_HOME/VIZIvev.ini. A corrupt file reads
// as empty and an unwritable one is left as it is; neither stops the program.
QString GetSetting(const QString &section, const QString &key) {
  QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VIZIvev"));
  return store.value(section + u'/' + key).toString();
}

void SaveSetting(const QString &section, const QString &key, const QString &value) {
  QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VIZIvev"));
  store.setValue(section + u'/' + key, value);
}

}  // namespace settings

void UpdateRecentFiles(const QString &name, const QStringList &entryCaptions) {
  if (!entryCaptions.contains(name)) {
    for (int i = 3; i >= 1; --i) {
      const QString value = settings::GetSetting(Section, recentKey(i));
      if (!value.isEmpty()) settings::SaveSetting(Section, recentKey(i + 1), value);
    }
    settings::SaveSetting(Section, recentKey(1), name);
  }
  RefreshRecentFileMenus();
}

}  // namespace quillora
