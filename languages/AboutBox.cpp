// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/AboutBox.h"

#include "common/DialogSize.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "languages/Catalogue.h"
#include "resources/Pictures.h"

#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace quillora {

AboutBox::AboutBox(QWidget *parent, int language)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmAbout"));
  setModal(true);
  const AboutTexts &texts = AboutBoxTexts(language);
  // The English box keeps its own title.
  setWindowTitle(QString::fromUtf8(AboutBoxTexts(English).title));
  if (language != English) setWindowTitle(QString::fromUtf8(texts.title));

  auto place = [this](QWidget *w, const char *name, int left, int top, int width, int height) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(TwipsX(this, left), TwipsY(this, top), TwipsX(this, width), TwipsY(this, height));
  };
  QFont bold(QStringLiteral("MS Sans Serif"));
  bold.setBold(true);

  auto *frame = new QFrame(this);
  place(frame, "fraAbout", 120, 120, 4695, 3255);
  frame->setFrameShape(QFrame::NoFrame);
  frame->setAutoFillBackground(true);
  QPalette grey = frame->palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  grey.setColor(QPalette::WindowText, Qt::black);
  frame->setPalette(grey);

  auto *picture = new QLabel(frame);
  place(picture, "Picture1", 360, 360, 495, 495);
  const int iconSize = qMin(picture->width(), picture->height());
  picture->setPixmap(IconPicture(QStringLiteral("icons/quillora")).pixmap(iconSize, iconSize));
  picture->setAccessibleName(QString::fromLatin1(AppTitle));

  auto *name = new QLabel(QString::fromLatin1(AppTitle), frame);
  place(name, "Label1", 1200, 480, 2535, 255);
  QFont nameFont = bold;
  nameFont.setPointSizeF(9.75);
  name->setFont(nameFont);

  auto *lines = new QLabel(QString::fromUtf8(texts.version) + u'\n' + QString::fromUtf8(texts.platform), frame);
  place(lines, "lblAbout", 1200, 840, 3495, 2415);
  lines->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto *ok = new QPushButton(QStringLiteral("OK"), this);
  place(ok, "cmdAbout", 3120, 3720, 1215, 375);
  QFont buttonFont = bold;
  buttonFont.setPointSizeF(8.25);
  ok->setFont(buttonFont);
  ok->setDefault(true);  // Enter presses it; Esc rejects the box like it
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  FixDialogSize(this, QSize(TwipsX(this, 4980), TwipsY(this, 4350)));
}

void AboutBox::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  // Centred on the screen, border included, whatever the frame's position.
  const QRect area = screen()->geometry();
  const QSize outer = frameGeometry().size();
  move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

void ShowAboutBox(QWidget *parent, int language) {
  AboutBox box(parent, language);
  box.exec();
}

}  // namespace quillora
