#include "ui/settings/SettingsWindow.h"

#include "platform/SymbolIcons.h"
#include "ui/AppState.h"
#include "ui/settings/AdvancedSettingsTab.h"
#include "ui/settings/GeneralSettingsTab.h"
#include "ui/settings/ProfilesSettingsTab.h"
#include "ui/settings/UpdatesSettingsTab.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

// A tab's content in a frameless scroll area, so the window can be smaller than the content
// (a small screen, or large scaling) and everything stays reachable.
QScrollArea *scrolling(QWidget *page) {
    auto *area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    // The tab's own background shows through, as without the scroll area.
    area->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    return area;
}

} // namespace

SettingsWindow::SettingsWindow(AppState *application, QWidget *parent)
    : QWidget(parent, Qt::Window), m_application(application), m_tabs(new QTabWidget(this)),
      m_general(new GeneralSettingsTab), m_profiles(new ProfilesSettingsTab(application)),
      m_updates(new UpdatesSettingsTab(application ? application->updater() : nullptr)),
      m_advanced(new AdvancedSettingsTab) {
    setWindowTitle(tr("Settings"));
    // The order of the tabs is the order of SettingsTab. The Profiles tab needs no scroll area
    // of its own: its list and its editor each scroll, and its bar stays under the list.
    m_tabs->addTab(scrolling(m_general), symbolIcon(QStringLiteral("gear")), tr("General"));
    m_tabs->addTab(m_profiles, symbolIcon(QStringLiteral("doc.badge.gearshape")), tr("Profiles"));
    m_tabs->addTab(scrolling(m_updates), symbolIcon(QStringLiteral("arrow.triangle.2.circlepath")),
                   tr("Updates"));
    m_tabs->addTab(scrolling(m_advanced), symbolIcon(QStringLiteral("gearshape.2")),
                   tr("Advanced"));
    m_tabs->setMinimumWidth(minimumTabWidth);
    m_tabs->setMaximumWidth(maximumTabWidth);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    setMinimumWidth(minimumWindowWidth);

    if (m_application) {
        selectTab(m_application->selectedSettingsTab());
        connect(m_application, &AppState::selectedSettingsTabChanged, this,
                &SettingsWindow::selectTab);
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_application && index >= 0)
            m_application->setSelectedSettingsTab(SettingsTab(index));
    });
    // Sized to what the tabs need, within the limits above and the free area of the screen
    // (all of it if need be, not the two thirds adjustSize() would allow).
    resize(sizeHint());
    fitToScreen();
}

void SettingsWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (QWindow *window = windowHandle(); window && !m_followsScreen) {
        m_followsScreen = true;
        connect(window, &QWindow::screenChanged, this, &SettingsWindow::fitToScreen);
    }
    fitToScreen();
}

void SettingsWindow::fitToScreen() {
    const QScreen *screen = this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The window system's frame, known once the window is shown, takes room as well.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QSize room = available.size().shrunkBy(frame).expandedTo(minimumSize());
    setMaximumSize(room);
    resize(size().boundedTo(room));

    // Moved back inside when a part of it is off the free area (a larger scale, another
    // screen, a position remembered from a larger screen).
    const QRect placed = frameGeometry();
    if (isVisible() && !available.contains(placed)) {
        // A window larger than the area (its minimum size is) keeps its top left corner inside.
        const int x = std::max(available.left(),
                               std::min(placed.left(), available.right() - placed.width() + 1));
        const int y = std::max(available.top(),
                               std::min(placed.top(), available.bottom() - placed.height() + 1));
        move(x, y);
    }
}

void SettingsWindow::keyPressEvent(QKeyEvent *event) {
    // Escape closes the window, as it does a dialog, but only when nothing inside used it: an
    // open drop-down or a name being edited takes it first (a shortcut would be matched before
    // them and close the whole window).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SettingsWindow::selectTab(SettingsTab tab) {
    m_tabs->setCurrentIndex(int(tab));
}

SettingsTab SettingsWindow::currentTab() const {
    return SettingsTab(m_tabs->currentIndex());
}
