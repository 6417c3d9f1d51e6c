#pragma once

// Set-up shared by the window tests: real settings in a temporary folder, a real login shell
// that sees only the test's own tools, and small file, menu and message box helpers.

#include "model/Profile.h"

// Window tests use much of Qt Widgets, which the layer's shared headers parse anyway.
#include <QtTest>
#include <QtWidgets>

// Points the per-user settings at `dir`, so no test ever reads or writes the user's own.
inline void useSettingsIn(const QString &dir, const char *application) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QCoreApplication::setOrganizationName(QStringLiteral("MirandelTests"));
    QCoreApplication::setApplicationName(QLatin1String(application));
    // Remembered results too: a test's second run over a file is the test's own business.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(QDir(dir).filePath(QStringLiteral("cache"))));
}

// Writes `bytes` to `path`, making its folder first; gives back the path.
inline QString writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline void writeScript(const QString &path, const QByteArray &body,
                        const QByteArray &shell = "/bin/sh") {
    writeFile(path, "#!" + shell + "\n" + body);
    QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner));
}

// Shows `widget` and waits until it is on screen.
inline bool showOnScreen(QWidget *widget) {
    widget->show();
    return QTest::qWaitForWindowExposed(widget);
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

// Clicks the button of `box` that shows `text`; false when it has none.
inline bool clickButtonOf(const QMessageBox *box, const QString &text) {
    QAbstractButton *button = box ? buttonOf(box, text) : nullptr;
    if (button)
        QTest::mouseClick(button, Qt::LeftButton);
    return button;
}

// Waits for the message box whose text holds `text` and answers it with its button `button`.
inline void answerMessageBox(const QString &button, const QString &text) {
    QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    QVERIFY2(box->text().contains(text), qPrintable(box->text()));
    QVERIFY2(clickButtonOf(box, button), qPrintable("no button " + button));
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
