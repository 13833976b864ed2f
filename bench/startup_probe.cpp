// Quillora's start-up as a whole process: the same sequence as the program.
#include "Probe.h"
#include "app/MainFrame.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  quillora::MainFrame frame;
  frame.startUp();
  FirstPaint probe(&frame, clock, clock.elapsed());
  return QApplication::exec();
}
