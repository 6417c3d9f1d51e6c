#pragma once

#include <QLocale>

class QCoreApplication;

// Installs the program's own translation and Qt's (for the texts of standard dialogs and buttons)
// for `locale` into `app`. Languages without a translation keep the English texts. Returns
// whether the program's own translation was found.
bool installTranslators(QCoreApplication &app, const QLocale &locale = QLocale::system());
