// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/Mail.h"

#include "common/ProcessSignals.h"
#include "common/Prompts.h"
#include "documents/DocumentWindow.h"
#include "editing/EditControl.h"
#include "editing/EditHost.h"
#include "languages/Catalogue.h"

#include <QPointer>
#include <QProcess>
#include <QUrl>

namespace quillora {

namespace {

void showMailError(QWidget *parent, int language, int code) {
  MsgBox(parent, MailErrorDescription(code), msg::Critical,
         MailErrorTitle(language) + (code >= 0 ? QStringLiteral(" ") : QString()) + QString::number(code));
}

}  // namespace

QByteArray MailtoUrl(const QString &subject, const QString &body) {
  // Line breaks travel as CR LF, whatever the document's own style.
  QString crlfBody = body;
  crlfBody.replace(u'\n', QStringLiteral("\r\n"));
  return "mailto:?subject=" + QUrl::toPercentEncoding(subject) + "&body=" + QUrl::toPercentEncoding(crlfBody);
}

QString MailErrorDescription(int code) {
  switch (code) {
    case 1: return QStringLiteral("The message is too long to hand to the mail program.");
    case 2: return QStringLiteral("The mail program could not be found.");
    case 3: return QStringLiteral("No mail program is set up for this user.");
    case 4: return QStringLiteral("The mail program failed to open the message.");
    case 5: return QStringLiteral("The mail program may not be started: permission denied.");
    default: return QStringLiteral("The message could not be handed to the mail program.");
  }
}

void SendMailCommand(DocumentWindow &window, int language) {
  QWidget *frame = window.host().hostWindow();
  const QByteArray url = MailtoUrl(window.caption(), window.Text1()->plainText());
  if (url.size() > MaxMailtoLength) {
    showMailError(frame, language, 1);
    return;
  }
  auto *process = new QProcess(frame);
  process->setProgram(QStringLiteral("xdg-email"));
  process->setArguments({QString::fromLatin1(url)});
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  process->setChildProcessModifier(RestoreIoSignals);
  QPointer<QWidget> owner(frame);
  QObject::connect(process, &QProcess::finished, process,
                   [process, owner, language](int code, QProcess::ExitStatus status) {
                     process->deleteLater();
                     if (owner && (code != 0 || status != QProcess::NormalExit))
                       showMailError(owner, language, status == QProcess::NormalExit ? code : 4);
                   });
  QObject::connect(process, &QProcess::errorOccurred, process, [process, owner, language](QProcess::ProcessError e) {
    if (e != QProcess::FailedToStart) return;
    process->deleteLater();
    if (owner) showMailError(owner, language, 2);
  });
  process->start();
}

}  // namespace quillora
