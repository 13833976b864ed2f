// SPDX-License-Identifier: GPL-3.0-or-later
// The reference: a bare Qt window with an MDI area, one plain-text editor and a menu bar.
#include "Probe.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>

int main(int argc, char *argv[]) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  QMainWindow window;
  auto *area = new QMdiArea(&window);
  window.setCentralWidget(area);
  window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&New"));
  area->addSubWindow(new QPlainTextEdit)->show();
  window.resize(675, 540);
  window.show();
  const QStringList args = QCoreApplication::arguments();
  if (args.size() == 3 && args.at(1) == QLatin1String("--documents")) {
    ShowDocuments(&window, QDir(args.at(2)), [area](const QString &path) {
      QFile file(path);
      file.open(QIODevice::ReadOnly);
      auto *edit = new QPlainTextEdit;
      edit->setPlainText(QString::fromUtf8(file.readAll()));
      area->addSubWindow(edit)->show();
    });
    return 0;
  }
  FirstPaint probe(&window, clock, clock.elapsed());
  return QApplication::exec();
}
