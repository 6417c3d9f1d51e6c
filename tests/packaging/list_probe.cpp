// Loaded with LD_PRELOAD into an installed, unmodified Mirandel, this library reads what the
// program's windows show through Qt's accessibility interfaces — the same tree a screen reader
// sees — so the package test can check the release binary without a hook compiled into it.
//
// MIRANDEL_PROBE_EXPECT holds the texts to wait for, separated by '|'. Every 200 ms the probe walks
// all visible windows; once every text appears it prints "probe: found" and ends the program with
// status 0. After MIRANDEL_PROBE_TIMEOUT_MS (default 20000) it prints every name it saw and ends
// the program with status 3.
//
// With MIRANDEL_PROBE_PRESS set to a button's object name, the probe then presses that button
// (the optimize button, say) and ends the program once the button's run is over. Any text of
// MIRANDEL_PROBE_REFUSE ('|'-separated) seen on the way ends the program with status 4.
#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace {

void collect(QAccessibleInterface *node, QSet<QString> &names, int depth) {
    if (!node || !node->isValid() || depth > 40 || names.size() > 50000)
        return;
    for (const auto role : {QAccessible::Name, QAccessible::Value}) {
        const QString text = node->text(role);
        if (!text.isEmpty())
            names.insert(text);
    }
    for (int i = 0; i < node->childCount(); ++i)
        collect(node->child(i), names, depth + 1);
}

QSet<QString> visibleNames() {
    QSet<QString> names;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible())
            collect(QAccessible::queryAccessibleInterface(window), names, 0);
    }
    return names;
}

bool containsAll(const QSet<QString> &names, const QStringList &expected) {
    for (const QString &text : expected) {
        const bool seen = std::any_of(names.cbegin(), names.cend(),
                                      [&](const QString &name) { return name.contains(text); });
        if (!seen)
            return false;
    }
    return true;
}

QAbstractButton *findButton(const QString &name) {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *button = window->findChild<QAbstractButton *>(name))
            return button;
    }
    return nullptr;
}

void finish(const char *message, int status) {
    std::puts(message);
    std::fflush(stdout);
    QCoreApplication::exit(status);
}

void startProbe() {
    const auto list = [](const char *variable) {
        return qEnvironmentVariable(variable).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    };
    const QStringList expected = list("MIRANDEL_PROBE_EXPECT");
    const QStringList refused = list("MIRANDEL_PROBE_REFUSE");
    const QString press = qEnvironmentVariable("MIRANDEL_PROBE_PRESS");
    auto *pressed = new bool(false);
    bool ok = false;
    int timeout = qEnvironmentVariableIntValue("MIRANDEL_PROBE_TIMEOUT_MS", &ok);
    if (!ok)
        timeout = 20000;
    auto *clock = new QElapsedTimer;
    clock->start();
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, qApp, [=] {
        const QSet<QString> names = visibleNames();
        for (const QString &text : refused) {
            if (containsAll(names, {text}))
                return finish(qPrintable(QStringLiteral("probe: refused text shown: ") + text), 4);
        }
        if (*pressed) {
            // The button shows its busy state until the run is over.
            if (QAbstractButton *button = findButton(press);
                button && !button->property("loading").toBool()) {
                return finish("probe: pressed and done", 0);
            }
        } else if (!expected.isEmpty() && containsAll(names, expected)) {
            if (press.isEmpty())
                return finish("probe: found", 0);
            if (QAbstractButton *button = findButton(press); button && button->isEnabled()) {
                button->click();
                *pressed = true;
            }
        }
        if (clock->elapsed() > timeout) {
            std::puts("probe: not found; the windows show:");
            for (const QString &name : names)
                std::printf("  %s\n", qPrintable(name));
            std::fflush(stdout);
            QCoreApplication::exit(3);
        }
    });
    timer->start(200);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
