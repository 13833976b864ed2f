// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/FileDialog.h"

#include "common/Prompts.h"
#include "languages/Catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace quillora {

FileDialog::FileDialog(QWidget *owner)
    : QObject(owner),
      Filter(QString::fromLatin1(text::FileFilter)),
      DefaultExt(QString::fromLatin1(text::DefaultExtension)),
      m_owner(owner),
      m_folder(QDir::homePath()) {
  setObjectName(QStringLiteral("CMDialog1"));
}

bool FileDialog::ShowOpen() { return show(false); }
bool FileDialog::ShowSave() { return show(true); }

bool FileDialog::show(bool save) {
  FileDialogRequest request;
  request.save = save;
  // "Name|pattern|Name|pattern" becomes Qt's list of "Name" entries.
  const QStringList parts = Filter.split(u'|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) request.filters.append(parts.at(i));
  request.defaultSuffix = DefaultExt.toLower();
  // A proposed path opens the dialog in its own folder.
  const QFileInfo proposed(FileName);
  if (!FileName.isEmpty() && proposed.isAbsolute()) {
    request.folder = proposed.absolutePath();
    request.fileName = FileName;
  } else {
    request.folder = m_folder;
    request.fileName = FileName;
  }
  const std::optional<QString> chosen = prompts().fileName(m_owner, request);
  if (!chosen) return false;
  FileName = *chosen;
  m_folder = QFileInfo(FileName).absolutePath();
  return true;
}

}  // namespace quillora
