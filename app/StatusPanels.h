// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame's status bar: five flag panels, the lock keys, Insert, the time
// and the date, and five empty panels.

#include <QStatusBar>
#include <array>

class QLabel;
class QTimer;

namespace quillora {

class StatusPanels : public QStatusBar {
  Q_OBJECT
 public:
  static constexpr int PanelCount = 16;

  explicit StatusPanels(QWidget *parent = nullptr);

  // The flag panel of a language (panel language + 1).
  void setFlagVisible(int language, bool visible);
  bool isFlagVisible(int language) const;
  // Panel 1 to 16.
  QLabel *panel(int number) const { return m_panels.at(static_cast<std::size_t>(number - 1)); }

  // Re-reads the key states and the clock.
  void refresh();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void tick();
  void setKeyPanel(int number, const QString &label, bool on);

  std::array<QLabel *, PanelCount> m_panels{};
  QTimer *m_clock;
  bool m_insert = true;
};

}  // namespace quillora
