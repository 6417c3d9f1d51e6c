#include "ui/main/ContactSheetDrawer.h"

#include "engine/RenderPool.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent>

ContactSheetDrawer::ContactSheetDrawer(QObject *parent)
    : QObject(parent), m_latest(std::make_shared<std::atomic<quint64>>(0)) {}

ContactSheetDrawer::~ContactSheetDrawer() {
    // Drawings still under way see they are no longer wanted.
    m_latest->store(~quint64(0));
}

void ContactSheetDrawer::setLook(const SheetLook &look) {
    m_look = look;
    m_latest->store(++m_generation);
    m_pending.clear();
    m_asked.clear();
}

void ContactSheetDrawer::clear() {
    setLook(m_look);
    m_cache.clear();
}

void ContactSheetDrawer::request(const QString &key, const IconSource &source,
                                 const QPersistentModelIndex &index) {
    if (m_cache.contains(key))
        return;
    if (m_asked.contains(key)) {
        // Asked again: it is in view now, so it moves to the front of the queue.
        for (qsizetype i = m_pending.size() - 1; i >= 0; --i) {
            if (m_pending.at(i).key == key) {
                m_pending.move(i, m_pending.size() - 1);
                m_pending.last().index = index;
                break;
            }
        }
        return;
    }
    // Scrolling fast leaves wishes behind faster than they are drawn; those out of view go.
    if (m_pending.size() > 1024 && m_wanted) {
        m_pending.removeIf([this](const Wish &wish) {
            const bool gone = !wish.index.isValid() || !m_wanted(wish.index);
            if (gone)
                m_asked.remove(wish.key);
            return gone;
        });
    }
    m_asked.insert(key);
    m_pending.append({key, source, index});
    startNext();
}

void ContactSheetDrawer::startNext() {
    // A few drawings per thread wait in the pool, so a thread never idles until the window's
    // thread hands it the next one; few enough that the preview's work is not held up long, and
    // that scrolling on wastes little on icons no longer in view.
    const int threads = 4 * std::max(1, renderPool().maxThreadCount());
    while (m_running < threads && !m_pending.isEmpty()) {
        Wish wish = m_pending.takeLast();
        if (!wish.index.isValid() || (m_wanted && !m_wanted(wish.index))) {
            m_asked.remove(wish.key);
            continue;
        }
        ++m_running;
        const quint64 generation = m_generation;
        const std::shared_ptr<std::atomic<quint64>> latest = m_latest;
        auto *watcher = new QFutureWatcher<IconDrawing>(this);
        connect(watcher, &QFutureWatcher<IconDrawing>::finished, this,
                [this, watcher, generation, key = wish.key, index = wish.index] {
                    watcher->deleteLater();
                    --m_running;
                    if (generation == m_generation) {
                        m_asked.remove(key);
                        auto *drawing = new IconDrawing(watcher->result());
                        const qsizetype cost =
                            std::max<qsizetype>(drawing->image.sizeInBytes(), 256);
                        m_cache.insert(key, drawing, cost);
                        emit drawn(index);
                    }
                    startNext();
                    if (!isBusy())
                        emit idle();
                });
        watcher->setFuture(QtConcurrent::run(
            &renderPool(), [source = wish.source, look = m_look, latest, generation] {
                return ContactSheetDrawing::draw(
                    source, look, [&latest, generation] { return latest->load() != generation; });
            }));
    }
    if (!isBusy())
        emit idle();
}
