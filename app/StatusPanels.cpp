// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StatusPanels.h"

#include "app/KeyboardLocks.h"
#include "languages/Catalogue.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace quillora {

namespace {

struct FlagPicture {
  const char *file;
  int width;
  int height;
};
constexpr std::array<FlagPicture, LanguageCount> Flags = {
    {{"flags/us", 53, 27}, {"flags/fr", 46, 27}, {"flags/es", 52, 32}, {"flags/de", 53, 27}, {"flags/it", 46, 27}}};

}  // namespace

StatusPanels::StatusPanels(QWidget *parent) : QStatusBar(parent), m_clock(new QTimer(this)) {
  setObjectName(QStringLiteral("StatusBar1"));
  setSizeGripEnabled(false);
  const qreal dpr = devicePixelRatioF();
  for (int i = 0; i < PanelCount; ++i) {
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    if (i < LanguageCount) {
      // At the screen's pixel density, so the flag stays crisp on HiDPI.
      const FlagPicture &flag = Flags.at(static_cast<std::size_t>(i));
      label->setPixmap(Picture(QString::fromLatin1(flag.file), QSize(flag.width, flag.height), dpr));
      label->setAccessibleName(LanguageName(i));
      label->setVisible(i == English);
    } else if (i >= 11) {
      label->setMinimumWidth(8);
    }
    addPermanentWidget(label, i == PanelCount - 1 ? 1 : 0);
    m_panels.at(static_cast<std::size_t>(i)) = label;
  }
  m_clock->setSingleShot(true);
  connect(m_clock, &QTimer::timeout, this, &StatusPanels::tick);
  qApp->installEventFilter(this);
  connect(&LockLights::instance(), &LockLights::changed, this, &StatusPanels::refresh);
  LockLights::instance().watch();
  // The panels have their texts before the window is first laid out.
  tick();
}

void StatusPanels::setFlagVisible(int language, bool visible) { panel(language + 1)->setVisible(visible); }

bool StatusPanels::isFlagVisible(int language) const { return !panel(language + 1)->isHidden(); }

void StatusPanels::setKeyPanel(int number, const QString &label, bool on) {
  QLabel *p = panel(number);
  p->setText(label);
  p->setEnabled(on);
  p->setAccessibleName(label + (on ? QStringLiteral(" on") : QStringLiteral(" off")));
}

void StatusPanels::refresh() {
  const LockStates locks = ReadLockStates().value_or(LockStates{});
  setKeyPanel(6, QStringLiteral("CAPS"), locks.caps);
  setKeyPanel(7, QStringLiteral("NUM"), locks.num);
  setKeyPanel(8, QStringLiteral("SCRL"), locks.scroll);
  setKeyPanel(9, QStringLiteral("INS"), m_insert);
  const QDateTime now = QDateTime::currentDateTime();
  const QLocale locale = QLocale::system();
  panel(10)->setText(locale.toString(now.time(), QLocale::ShortFormat));
  panel(11)->setText(locale.toString(now.date(), QLocale::ShortFormat));
  panel(10)->setAccessibleName(panel(10)->text());
  panel(11)->setAccessibleName(panel(11)->text());
}

void StatusPanels::tick() {
  refresh();
  // Re-armed to the start of the next second, so the clock never drifts.
  const int msec = QTime::currentTime().msec();
  m_clock->start(1000 - msec);
}

bool StatusPanels::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    auto *key = static_cast<QKeyEvent *>(event);
    // Each key reaches its native window once, before it travels the widgets.
    if (watched->isWindowType()) {
      if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_Insert && !key->isAutoRepeat())
        m_insert = !m_insert;
      const int k = key->key();
      if (k == Qt::Key_Insert || k == Qt::Key_CapsLock || k == Qt::Key_NumLock || k == Qt::Key_ScrollLock) refresh();
    }
  }
  return QStatusBar::eventFilter(watched, event);
}

}  // namespace quillora
