#include "ui/output/TextOutputWindow.h"

#include "engine/CompressedSize.h"
#include "engine/RenderPool.h"
#include "engine/Utilities.h"
#include "model/FileResults.h"
#include "model/Settings.h"
#include "platform/Accessibility.h"
#include "platform/SymbolIcons.h"
#include "ui/components/OverlayNotification.h"
#include "ui/components/TextView.h"

#include <QAction>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtConcurrent>

#include <algorithm>

namespace {

constexpr int notificationDismissMs = 1500;

QList<QPointer<TextOutputWindow>> &windows() {
    static QList<QPointer<TextOutputWindow>> list;
    return list;
}

} // namespace

TextOutputWindow::TextOutputWindow(std::optional<QString> textOutput, QWidget *parent)
    : QMainWindow(parent), m_textOutput(std::move(textOutput)) {
    setObjectName(QStringLiteral("TextOutputWindow"));
    // Each run's window is told apart from the others in the title bar and the task bar: by a
    // number while several are open, and by the time its text came.
    const QList<TextOutputWindow *> others = openWindows();
    int number = 1;
    while (std::any_of(others.begin(), others.end(), [number](const TextOutputWindow *other) {
        return other->m_number == number;
    }))
        ++number;
    m_number = number;
    const QString time = QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
    //: Title of a text-mode run's output window: its number among the open ones and its time
    setWindowTitle(number == 1 ? tr("Output – %1").arg(time)
                               : tr("Output %1 – %2").arg(number).arg(time));
    windows().append(this);

    auto *content = new QWidget(this);
    content->setMinimumSize(300, 300);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new TextView(
        {TextView::WrapLines, TextView::HighlightSelectedLine, TextView::ShowLineNumbers}, content);
    m_view->setAccessibleName(tr("Output"));
    m_view->setAccessibleDescription(tr("SVG source code"));
    layout->addWidget(m_view);
    setCentralWidget(content);

    const QIcon clipboard = symbolIcon(QStringLiteral("doc.on.clipboard"));
    m_notification =
        new OverlayNotification(tr("Copied output"), clipboard, notificationDismissMs, content);

    m_copyAction = new QAction(clipboard, tr("Copy Output"), this);
    // Ctrl means Command on macOS, so this is ⇧⌘C there.
    m_copyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    m_copyAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_copyAction, &QAction::triggered, this, &TextOutputWindow::copyOutput);
    auto *toolBar = addToolBar(tr("Output"));
    toolBar->setObjectName(QStringLiteral("outputToolBar"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addAction(m_copyAction);

    auto *closeAction = new QAction(tr("Close"), this);
    closeAction->setShortcut(QKeySequence::Close);
    closeAction->setShortcutContext(Qt::WindowShortcut);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);

    if (m_textOutput)
        m_view->setText(*m_textOutput);

    m_sizes = new QLabel(this);
    m_sizes->setObjectName(QStringLiteral("outputSizes"));
    m_sizes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addPermanentWidget(m_sizes);
    statusBar()->setSizeGripEnabled(false);
    if (m_textOutput) {
        // What is pasted into a page is UTF-8; brotli at its best takes seconds for a few
        // megabytes, so it is measured away from this thread and shown when it is done.
        const QByteArray bytes = m_textOutput->toUtf8();
        const QString raw = FileResults::sizeText(bytes.size());
        m_sizes->setText(raw);
        // A watcher the window owns: its answer is dropped with the window if that closes first.
        auto *watcher = new QFutureWatcher<CompressedSizes>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, raw] {
            const CompressedSizes sizes = watcher->result();
            watcher->deleteLater();
            if (sizes.gzip < 0 || sizes.brotli < 0)
                return;
            //: The output's size, then its size compressed with gzip and with brotli
            m_sizes->setText(tr("%1 · %2 gzip · %3 brotli")
                                 .arg(raw, FileResults::sizeText(sizes.gzip),
                                      FileResults::sizeText(sizes.brotli)));
        });
        watcher->setFuture(QtConcurrent::run(&renderPool(), compressedSizes, bytes));
    }

    const QRect available =
        (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const QSize size = QSize(800, 400).boundedTo(available.size());
    QRect frame = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, available);
    // A new window steps down and right from the newest one still open, so none hides another;
    // it starts again at the top left when the next step would leave the screen.
    if (!others.isEmpty()) {
        const QRect newest = others.last()->geometry();
        const int step = 2 * fontMetrics().height();
        frame.moveTopLeft(newest.topLeft() + QPoint(step, step));
        if (!available.contains(frame))
            frame.moveTopLeft(available.topLeft() + QPoint(step, step));
    }
    setGeometry(frame);
}

TextOutputWindow::~TextOutputWindow() {
    windows().removeAll(this);
}

TextOutputWindow *TextOutputWindow::open(const QString &text) {
    for (TextOutputWindow *window : openWindows()) {
        if (window->isVisible() && window->m_textOutput == text) {
            if (window->isMinimized())
                window->showNormal();
            window->raise();
            window->activateWindow();
            return window;
        }
    }
    auto *window = new TextOutputWindow(text);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

QList<TextOutputWindow *> TextOutputWindow::openWindows() {
    QList<TextOutputWindow *> result;
    for (const QPointer<TextOutputWindow> &window : windows())
        if (window)
            result.append(window.data());
    return result;
}

QString TextOutputWindow::text() const {
    return m_view->text();
}

void TextOutputWindow::copyOutput() {
    Utilities::shared().copyToPasteboard(m_view->text());
    m_notification->trigger();
}

void TextOutputWindow::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // The automatic copy happens once, when the window first comes on screen.
    if (m_hasAppeared)
        return;
    m_hasAppeared = true;
    if (!m_textOutput || !Keys::copyTextOutputAutomatically().get())
        return;
    Utilities::shared().copyToPasteboard(m_view->text());
    //: Accessibility announcement when the text output was copied
    announce(this, tr("SVG optimized and output copied"));
    m_notification->trigger();
}
