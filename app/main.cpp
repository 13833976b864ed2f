#include "app/MainFrame.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillora"));
  QApplication::setDesktopFileName(QStringLiteral("org.quillora.Quillora"));
  quillora::MainFrame frame;
  frame.startUp();
  return QApplication::exec();
}
