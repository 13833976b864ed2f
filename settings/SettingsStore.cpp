#include "settings/SettingsStore.h"

namespace quillora {

SettingsStore::SettingsStore() : m_store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VIZIvev")) {}

QString SettingsStore::GetSetting(const QString &section, const QString &key) const {
  return m_store.value(section + u'/' + key).toString();
}

void SettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value) {
  m_store.setValue(section + u'/' + key, value);
}

}  // namespace quillora
