// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening, saving and closing files.

#include <QString>

namespace quillora {

class DocumentWindow;
class Documents;

// Open: asks for a file and opens it in a new window (65000 bytes at most).
void OpenDocumentCommand(Documents &documents);
// Opens a named file in a new window; nullptr and "Can't open file: " with the
// path and the cause when it cannot be read whole.
DocumentWindow *LoadDocumentFile(Documents &documents, const QString &name);
// The name chosen in the Save dialog, or empty when the user cancelled.
QString AskSaveFileName(Documents &documents, const QString &proposed);
// Writes the window's text and one line break; true on success, else the
// file and the cause are shown, and the file, the caption and the Changed
// flag stay as they were.
bool WriteDocumentFile(DocumentWindow &window, const QString &name);
void SaveCommand(DocumentWindow &window);
// The toolbar's Save button: always asks for a name, with none proposed, and
// writes the active document under it; the recent files stay as they are.
void SaveAskingNameCommand(Documents &documents);
void SaveAsCommand(DocumentWindow &window);
// The save question before a window closes; false keeps it open.
bool QueryClose(DocumentWindow &window);
// What closing every document asks first: the save question of every
// changed document, in turn; false at the first Cancel.
bool AskToSaveEveryDocument(Documents &documents);

inline constexpr qint64 OpenSizeLimit = 65000;
// A file opened otherwise (a recent entry) is not held to Open's limit, which
// a saved document may pass; this one only keeps a huge or endless file from
// being read whole.
inline constexpr qint64 LoadSizeLimit = qint64(64) << 20;

}  // namespace quillora
