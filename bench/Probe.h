// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the two start-up probes: report once the window has been painted.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

inline long residentKiB() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  return fields.size() > 1 ? fields.at(1).toLong() * 4 : 0;
}

// Shows the window, then opens every file of the folder with `open`, and
// prints the resident memory before and after, and how many were opened.
template <typename Open>
void ShowDocuments(QWidget *window, const QDir &dir, Open open) {
  window->show();
  QCoreApplication::processEvents();
  const long before = residentKiB();
  const QStringList names = dir.entryList(QDir::Files, QDir::Name);
  for (const QString &name : names) {
    open(dir.filePath(name));
    QCoreApplication::processEvents();
  }
  std::printf("%ld %ld %lld\n", before, residentKiB(), static_cast<long long>(names.size()));

  std::fflush(stdout);
}

// Prints "shown_ms painted_ms rss_kib painted_at_ns" once the window is shown
// and painted, then quits; the last is the steady clock, which the parent shares.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget *window, const QElapsedTimer &clock, qint64 shownMs) : m_clock(clock), m_shown(shownMs) {
    window->installEventFilter(this);
  }
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Paint && !m_done) {
      m_done = true;
      QTimer::singleShot(0, [this] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("%lld %lld %ld %lld\n", m_shown, m_clock.elapsed(), residentKiB(),
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        QCoreApplication::quit();
      });
    }
    return false;
  }

 private:
  const QElapsedTimer &m_clock;
  qint64 m_shown;
  bool m_done = false;
};
