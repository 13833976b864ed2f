// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Send Mail: the user's mail client opens a new message whose subject is the
// window's caption and whose body is its whole text.

#include <QByteArray>
#include <QString>

namespace quillora {

class DocumentWindow;

// "mailto:?subject=…&body=…", every byte but the unreserved ones escaped.
QByteArray MailtoUrl(const QString &subject, const QString &body);
// The longest argument a program can be given.
inline constexpr qsizetype MaxMailtoLength = 131071;

// Hands the message to the mail client without waiting for it; a failure is
// shown in a box titled with the tree's mail error title and the error number.
void SendMailCommand(DocumentWindow &window, int language);

// The description shown for an exit code of the mail launcher.
QString MailErrorDescription(int code);

}  // namespace quillora
