// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quillora {

void LoadQtTranslations(QCoreApplication &application) {
  auto *translator = new QTranslator(&application);
  if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace quillora
