#pragma once

// Set-up shared by the window tests: real settings in a temporary folder, a real login shell
// that sees only the test's own tools, and small menu helpers.

#include "model/Profile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QtTest>

// Points the per-user settings at `dir`, so no test ever reads or writes the user's own.
inline void useSettingsIn(const QString &dir, const char *application) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QCoreApplication::setOrganizationName(QStringLiteral("MirandelTests"));
    QCoreApplication::setApplicationName(QLatin1String(application));
    // Remembered results too: a test's second run over a file is the test's own business.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(QDir(dir).filePath(QStringLiteral("cache"))));
}

inline void writeScript(const QString &path, const QByteArray &body,
                        const QByteArray &shell = "/bin/sh") {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write("#!" + shell + "\n" + body);
    file.close();
    QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
}

// Makes `home` the login shell's home, whose .zprofile puts only `bin` on the search path.
inline void useLoginShellHome(const QString &home, const QString &bin) {
    QVERIFY(QDir().mkpath(bin));
    QFile profile(home + QStringLiteral("/.zprofile"));
    QVERIFY(profile.open(QIODevice::WriteOnly | QIODevice::Truncate));
    profile.write("export PATH='" + bin.toUtf8() + "'\n");
    qputenv("HOME", QFile::encodeName(home));
    qputenv("ZDOTDIR", QFile::encodeName(home));
}

// A profile as if saved under `name`.
inline Profile savedProfile(const QString &name, OperationMode mode = OperationMode::File) {
    Profile profile = Profile::makeNew();
    profile.name = name;
    profile.mode = mode;
    return profile;
}

// An svgo as far as a version check can tell.
inline const QByteArray fakeSvgo = "echo 4.1.0\n";

// A brew that "installs" such an svgo next to itself when asked exactly that.
inline const QByteArray installingBrew = "[ \"$1 $2\" = 'install svgo' ] || exit 2\n"
                                         "printf '#!/bin/sh\\necho 4.1.0\\n' > \"${0%/*}/svgo\"\n"
                                         "/bin/chmod +x \"${0%/*}/svgo\"\n";

// A menu or button text as drawn: "&&" is a literal "&", a lone "&" marks the shortcut key.
inline QString shownText(const QString &text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        shown += text.at(i);
    }
    return shown;
}

// The button of a message box that shows `text`; null when it has none.
inline QAbstractButton *buttonOf(const QMessageBox *box, const QString &text) {
    for (QAbstractButton *button : box->buttons())
        if (shownText(button->text()) == text)
            return button;
    return nullptr;
}

inline QStringList actionTexts(const QMenu *menu) {
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

inline QAction *findAction(const QMenu *menu, const QString &text) {
    for (QAction *action : menu->actions())
        if (shownText(action->text()) == text)
            return action;
    return nullptr;
}

// Picks `item` from the menu that has just popped up; false (and the menu closed) when there is
// no such menu or item.
inline bool chooseFromOpenMenu(const QString &item) {
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QAction *action = menu ? findAction(menu, item) : nullptr;
    if (!action) {
        if (menu)
            menu->close();
        return false;
    }
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    return true;
}

// Right-clicks `pos` of `viewport` and picks `item` from the context menu that opens. Real
// clicks reach the window system only in files that define QTEST_QPA_MOUSE_HANDLING before
// including QtTest; otherwise no context menu event follows the press.
inline bool chooseFromContextMenu(QWidget *viewport, QPoint pos, const QString &item) {
    QTest::mouseClick(viewport, Qt::RightButton, {}, pos);
    return chooseFromOpenMenu(item);
}

// Types `path` into the name field of the file dialog on screen and presses Enter.
inline bool typeIntoFileDialog(const QString &path) {
    QWidget *dialog = QApplication::activeModalWidget();
    auto *field = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
    if (!field)
        return false;
    field->clear();
    QTest::keyClicks(field, path);
    QTest::keyClick(field, Qt::Key_Return);
    return true;
}
