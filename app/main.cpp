#include "app/MainFrame.h"
#include "common/ProcessSignals.h"
#include "settings/SettingsStore.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  quillora::IgnoreFatalIoSignals();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillora"));
  QApplication::setDesktopFileName(QStringLiteral("org.quillora.Quillora"));
  quillora::KeepSettingsInOwnFolder();
  quillora::MainFrame frame;
  QObject::connect(&frame, &quillora::MainFrame::programEnds, &app, [] { QCoreApplication::exit(0); });
  frame.startUp();
  return QApplication::exec();
}
