#include "settings/RecentFiles.h"

#include "settings/SettingsStore.h"

namespace quillora {

namespace {
const QString Section = QStringLiteral("Recent Files");

QString recentKey(int slot) { return QStringLiteral("RecentFile%1").arg(slot); }
}  // namespace

void UpdateRecentFiles(const QString &name, const QStringList &entryCaptions) {
  if (!entryCaptions.contains(name)) {
    SettingsStore store;
    for (int i = 3; i >= 1; --i) {
      const QString value = store.GetSetting(Section, recentKey(i));
      if (!value.isEmpty()) store.SaveSetting(Section, recentKey(i + 1), value);
    }
    store.SaveSetting(Section, recentKey(1), name);
  }
}

}  // namespace quillora
