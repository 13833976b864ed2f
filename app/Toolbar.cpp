// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Toolbar.h"

#include "common/Twips.h"
#include "resources/Pictures.h"

#include <QMouseEvent>

namespace quillora {

namespace {

struct ButtonDef {
  const char *name;
  int left;  // twips
  const char *released;
  const char *pressed;
  Command command;
  Command namedAfter;  // the menu command whose caption names the button
  bool onDocument;     // the command acts on the active document, not on the frame
  // A document button's place in the order the buttons are shown when a
  // document opens, and hidden when the last one closes (0: always shown).
  int shown, hidden;
};

const ButtonDef Buttons[] = {
    {"imgFileNewButton", 0, "imgFileNewButtonUp", "imgFileNewButtonDn", Command::New, Command::New, false, 0, 0},
    {"imgFileOpenButton", 360, "imgFileOpenButtonUp", "imgFileOpenButtonDn", Command::Open, Command::Open, false, 0, 0},
    {"imgFileSaveButton", 720, "imgFileSaveButtonUp", "imgFileSaveButtonDn", Command::SaveAskingName, Command::Save,
     false, 4, 6},
    {"imgViewBtn", 1200, "imgViewBtnUp", "imgViewBtnDwn", Command::ShowFindDialog, Command::Find, false, 5, 4},
    {"imgPrintBtn", 1680, "imgPrintBtnUp", "imgPrintBtnDwn", Command::Print, Command::Print, true, 6, 5},
    {"imgCutButton", 2160, "imgCutButtonUp", "imgCutButtonDn", Command::Cut, Command::Cut, true, 1, 1},
    {"imgCopyButton", 2520, "imgCopyButtonUp", "imgCopyButtonDn", Command::Copy, Command::Copy, true, 2, 2},
    {"imgPasteButton", 2880, "imgPasteButtonUp", "imgPasteButtonDn", Command::Paste, Command::Paste, true, 3, 3},
};

constexpr int ButtonTwips = 480;
constexpr int StripTwips = 645;

// A hidden picture holder.
QLabel *holder(QWidget *parent, const char *name, int size, qreal dpr) {
  auto *label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setPixmap(Picture(QStringLiteral("toolbar/") + label->objectName(), QSize(size, size), dpr));
  label->hide();
  return label;
}

}  // namespace

ImageButton::ImageButton(QWidget *parent, const QString &name, QLabel *released, QLabel *pressed)
    : QLabel(parent), m_released(released), m_pressed(pressed) {
  setObjectName(name);
  setPixmap(released->pixmap());
}

void ImageButton::showPicture(bool pressed) { setPixmap((pressed ? m_pressed : m_released)->pixmap()); }

bool ImageButton::isInside(const QPointF &p) const {
  // The right and bottom edges count as inside, and so do the left and top.
  return p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height();
}

void ImageButton::mousePressEvent(QMouseEvent *event) {
  showPicture(true);
  event->accept();
}

void ImageButton::mouseMoveEvent(QMouseEvent *event) {
  // Only while the left button alone is held.
  if (event->buttons() == Qt::LeftButton) showPicture(isInside(event->position()));
  event->accept();
}

void ImageButton::mouseReleaseEvent(QMouseEvent *event) {
  showPicture(false);
  event->accept();
  if (event->button() == Qt::LeftButton && event->buttons() == Qt::NoButton && isInside(event->position())) {
    repaint();  // the released picture shows before the command runs
    emit clicked();
  }
}

Toolbar::Toolbar(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("picToolbar"));
  setFixedHeight(TwipsY(this, StripTwips));
  const int size = TwipsX(this, ButtonTwips);
  const qreal dpr = devicePixelRatioF();
  for (const ButtonDef &def : Buttons) {
    QLabel *released = holder(this, def.released, size, dpr);
    QLabel *pressed = holder(this, def.pressed, size, dpr);
    auto *button = new ImageButton(this, QString::fromLatin1(def.name), released, pressed);
    button->setGeometry(TwipsX(this, def.left), 0, size, size);
    connect(button, &ImageButton::clicked, this,
            [this, command = def.command, onDocument = def.onDocument] { emit commandClicked(command, onDocument); });
  }
  setLanguage(English);
}

void Toolbar::setLanguage(int language) {
  for (const ButtonDef &def : Buttons) button(def.name)->setAccessibleName(CommandName(language, def.namedAfter));
}

ImageButton *Toolbar::button(const char *name) const {
  return findChild<ImageButton *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void Toolbar::setDocumentButtonsVisible(bool visible) {
  for (int place = 1; place <= 6; ++place)
    for (const ButtonDef &def : Buttons)
      if ((visible ? def.shown : def.hidden) == place) button(def.name)->setVisible(visible);
}

}  // namespace quillora
