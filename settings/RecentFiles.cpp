// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RecentFiles.h"

#include "settings/SettingsStore.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace quillora {

namespace {
const QString Section = QStringLiteral("Recent Files");

QString recentKey(int slot) { return QStringLiteral("RecentFile%1").arg(slot); }

// The updates, one after another in the order they were asked for, on a
// thread of their own: reading and writing a store that another program
// grew large takes seconds, which the window must not wait for. The thread
// runs while there is work and ends when there is none.
class Updates {
 public:
  void add(std::function<void()> update) {
    std::lock_guard lock(m_mutex);
    m_queue.push_back(std::move(update));
    if (m_running) return;
    if (m_worker.joinable()) m_worker.join();  // done, and no longer takes the lock
    m_running = true;
    m_worker = std::thread([this] { drain(); });
  }
  void finish() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_running; });
    if (m_worker.joinable()) m_worker.join();
  }

 private:
  void drain() {
    for (;;) {
      std::function<void()> update;
      {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty()) {
          m_running = false;
          m_idle.notify_all();
          return;
        }
        update = std::move(m_queue.front());
        m_queue.pop_front();
      }
      update();
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_idle;
  std::deque<std::function<void()>> m_queue;
  std::thread m_worker;
  bool m_running = false;
};

// Never destroyed: the program waits for the updates where it ends.
Updates &updates() {
  static auto *queue = new Updates;
  return *queue;
}

}  // namespace

void UpdateRecentFiles(const QString &name, const QStringList &entryCaptions) {
  if (entryCaptions.contains(name)) return;
  updates().add([name] {
    SettingsStore store;
    for (int i = 3; i >= 1; --i) {
      const QString value = store.GetSetting(Section, recentKey(i));
      if (!value.isEmpty()) store.SaveSetting(Section, recentKey(i + 1), value);
    }
    store.SaveSetting(Section, recentKey(1), name);
  });
}

void FinishRecentFilesUpdates() { updates().finish(); }

}  // namespace quillora
