#include "app/MainFrame.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillora"));
  QApplication::setDesktopFileName(QStringLiteral("quillora"));
  quillora::MainFrame frame;
  frame.startUp();
  return QApplication::exec();
}
