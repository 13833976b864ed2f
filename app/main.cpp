// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFrame.h"
#include "app/SessionClient.h"
#include "common/ProcessSignals.h"
#include "common/QtTranslations.h"
#include "settings/SettingsStore.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  quillora::IgnoreFatalIoSignals();
  const QByteArray sessionManager = quillora::SessionClient::takeAddress();
  QApplication app(argc, argv);
  quillora::SessionClient::giveBackAddress(sessionManager);
  quillora::LoadQtTranslations(app);
  QApplication::setApplicationName(QStringLiteral("Quillora"));
  QApplication::setDesktopFileName(QStringLiteral("org.quillora.Quillora"));
  quillora::KeepSettingsInOwnFolder();
  quillora::MainFrame frame(sessionManager);
  QObject::connect(&frame, &quillora::MainFrame::programEnds, &app, [] { QCoreApplication::exit(0); });
  frame.startUp();
  return QApplication::exec();
}
