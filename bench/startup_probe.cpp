// SPDX-License-Identifier: GPL-3.0-or-later
// Quillora's start-up as a whole process: the same sequence as the program.
// With `--documents DIR` it loads every file of DIR through the program's own
// load routine instead and prints "resident_after_start_kib resident_with_documents_kib count".
#include "Probe.h"
#include "app/MainFrame.h"
#include "documents/Documents.h"
#include "documents/FileCommands.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[]) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  quillora::MainFrame frame;
  frame.startUp();
  const QStringList args = QCoreApplication::arguments();
  if (args.size() == 3 && args.at(1) == QLatin1String("--documents")) {
    const QDir dir(args.at(2));
    ShowDocuments(&frame, dir, [&frame](const QString &path) {
      quillora::LoadDocumentFile(*frame.findChild<quillora::Documents *>(), path);
    });
    return 0;
  }
  FirstPaint probe(&frame, clock, clock.elapsed());
  return QApplication::exec();
}
