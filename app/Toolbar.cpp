#include "app/Toolbar.h"

#include "app/MainFrame.h"
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
};

const ButtonDef Buttons[] = {
    {"imgFileNewButton", 0, "imgFileNewButtonUp", "imgFileNewButtonDn", Command::New},
    {"imgFileOpenButton", 360, "imgFileOpenButtonUp", "imgFileOpenButtonDn", Command::Open},
    {"imgFileSaveButton", 720, "imgFileSaveButtonUp", "imgFileSaveButtonDn", Command::Save},
    {"imgViewBtn", 1200, "imgViewBtnUp", "imgViewBtnDwn", Command::Find},
    {"imgPrintBtn", 1680, "imgPrintBtnUp", "imgPrintBtnDwn", Command::Print},
    {"imgCutButton", 2160, "imgCutButtonUp", "imgCutButtonDn", Command::Cut},
    {"imgCopyButton", 2520, "imgCopyButtonUp", "imgCopyButtonDn", Command::Copy},
    {"imgPasteButton", 2880, "imgPasteButtonUp", "imgPasteButtonDn", Command::Paste},
};

// Hidden in this order when the last document closes; shown in the other.
const char *const DocumentButtons[] = {"imgCutButton", "imgCopyButton", "imgPasteButton",
                                       "imgViewBtn",   "imgPrintBtn",   "imgFileSaveButton"};

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

void ImageButton::showPicture(bool pressed) {
  m_pressedShown = pressed;
  setPixmap((pressed ? m_pressed : m_released)->pixmap());
}

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
    const Command command = def.command;
    connect(button, &ImageButton::clicked, this, [this, command] { emit commandClicked(command); });
    m_buttons.append(button);
  }
  setLanguage(English);
}

void Toolbar::setLanguage(int language) {
  for (const ButtonDef &def : Buttons) button(def.name)->setAccessibleName(CommandName(language, def.command));
}

ImageButton *Toolbar::button(const char *name) const {
  return findChild<ImageButton *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void Toolbar::setDocumentButtonsVisible(bool visible) {
  if (visible) {
    for (const char *name :
         {"imgCutButton", "imgCopyButton", "imgPasteButton", "imgFileSaveButton", "imgViewBtn", "imgPrintBtn"})
      button(name)->show();
  } else {
    for (const char *name : DocumentButtons) button(name)->hide();
  }
}

}  // namespace quillora
