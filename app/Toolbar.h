// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture toolbar: eight image buttons that show a pressed picture while
// a mouse button holds them, and run their command on a click.

#include <QLabel>
#include <QPixmap>

#include "languages/Catalogue.h"

namespace quillora {

class ImageButton : public QLabel {
  Q_OBJECT
 public:
  ImageButton(QWidget *parent, const QString &name, QLabel *released, QLabel *pressed);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

 private:
  void showPicture(bool pressed);
  bool isInside(const QPointF &point) const;

  QLabel *m_released;
  QLabel *m_pressed;
};

class Toolbar : public QWidget {
  Q_OBJECT
 public:
  explicit Toolbar(QWidget *parent);

  ImageButton *button(const char *name) const;
  // The buttons' accessible names in a language.
  void setLanguage(int language);
  // Cut, Copy, Paste, Find, Print and Save: hidden while no document is open.
  void setDocumentButtonsVisible(bool visible);

 signals:
  // A button was clicked: the command it carries runs, on the frame or on
  // the active document.
  void commandClicked(quillora::Command command, bool onDocument);
};

}  // namespace quillora
