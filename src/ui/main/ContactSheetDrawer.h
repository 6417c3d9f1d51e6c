#pragma once

#include "ui/main/ContactSheetDrawing.h"

#include <QCache>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QSet>

#include <atomic>
#include <functional>
#include <memory>

// Draws the contact sheet's icons on the render pool, a few at a time, and keeps them.
//
// Icons are asked for as they are painted, so only what scrolls into view is drawn. The newest
// wish goes first; a wish whose icon left the view before its turn is dropped, so scrolling
// through ten thousand icons draws the few screens looked at, not everything passed on the way.
// Drawings are kept by key (file, version, size, background, tint) up to a fixed amount of
// memory. A new look makes every wish and every drawing under way stale.
class ContactSheetDrawer : public QObject {
    Q_OBJECT
public:
    // Enough for several screens of the largest icons at twice the pixel density.
    static constexpr qsizetype memoryLimit = 96 * 1024 * 1024;

    explicit ContactSheetDrawer(QObject *parent = nullptr);
    ~ContactSheetDrawer() override;

    // The drawing kept under `key`, else null (it may be dropped at the next insert).
    const IconDrawing *find(const QString &key) const { return m_cache.object(key); }
    // Asks for the drawing of `source` under `key`; drawn() tells when it is there.
    void request(const QString &key, const IconSource &source, const QPersistentModelIndex &index);
    // Whether the icon at `index` is still worth drawing (it is in view).
    void setWantedCheck(std::function<bool(const QModelIndex &)> wanted) {
        m_wanted = std::move(wanted);
    }
    // Drops the wishes and makes the drawings under way stale; the kept drawings stay, as they
    // are keyed by their look.
    void setLook(const SheetLook &look);
    const SheetLook &look() const { return m_look; }
    // Wishes waiting and drawings under way.
    bool isBusy() const { return !m_pending.isEmpty() || m_running > 0; }
    void clear();

signals:
    void drawn(const QPersistentModelIndex &index);
    // Nothing is waiting or being drawn any more.
    void idle();

private:
    struct Wish {
        QString key;
        IconSource source;
        QPersistentModelIndex index;
    };
    void startNext();

    SheetLook m_look;
    QCache<QString, IconDrawing> m_cache{memoryLimit};
    QList<Wish> m_pending; // the newest at the end
    QSet<QString> m_asked; // keys waiting or being drawn
    int m_running = 0;
    quint64 m_generation = 0;
    std::shared_ptr<std::atomic<quint64>> m_latest;
    std::function<bool(const QModelIndex &)> m_wanted;
};
