// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What Qt itself draws (the file dialogs, the buttons of message boxes, the
// edit control's context menu) speaks the desktop's language, as it did in
// the system this program comes from; the program's own menus, messages and
// dialogs keep the catalogue's texts.

class QCoreApplication;

namespace quillora {

// Installs Qt's translation for the language of the desktop's locale
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG); where there is none, Qt's texts
// stay English.
void LoadQtTranslations(QCoreApplication &application);

}  // namespace quillora
