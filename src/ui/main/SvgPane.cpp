// The one drawing of the preview, made on the render pool (SvgPreview.cpp has the area around it).
#include "ui/main/SvgPreview.h"

#include "engine/InputGuard.h"
#include "engine/RenderPool.h"
#include "engine/SvgRenderer.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QPainter>
#include <QtConcurrent>

#include <functional>
#include <utility>

namespace {

// A document as the window last saw it on disk: a file that changed is drawn again, one that did
// not is not, however often the selection or the results are shown anew.
QString stamp(const QString &path) {
    const QFileInfo info(path);
    return info.exists() ? QString::number(info.size()) + QLatin1Char('@') +
                               QString::number(info.lastModified().toMSecsSinceEpoch())
                         : QString();
}

struct Drawing {
    std::shared_ptr<SvgRenderer> renderer; // null when the document cannot be drawn
    QSizeF natural{1, 1};
    QImage image;
};

// Runs on the render pool: everything that may take seconds for a large document. `stale` is
// asked before each step, so a job the window no longer wants ends early.
Drawing draw(const QString &path, QByteArray svg, std::shared_ptr<SvgRenderer> renderer, QSize box,
             const std::function<bool()> &stale) {
    if (!renderer) {
        if (svg.isEmpty() && !path.isEmpty() && !stale())
            svg = InputGuard::readFile(path).value_or(QByteArray());
        if (svg.isEmpty() || stale())
            return {};
        renderer = std::make_shared<SvgRenderer>(svg);
        if (!renderer->isValid() || renderer->couldNotDraw() || stale())
            return {};
    }
    Drawing drawing{renderer, renderer->naturalSize(), renderer->render(renderer->fittedSize(box))};
    // Not tried again at the next size: the renderer crashed or ran out of time on it.
    if (drawing.image.isNull())
        drawing.renderer.reset();
    return drawing;
}

} // namespace

SvgPane::SvgPane(QWidget *parent)
    : QWidget(parent), m_latest(std::make_shared<std::atomic<quint64>>(0)) {
    setMinimumSize(80, 80);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

SvgPane::~SvgPane() {
    // Jobs still running see they are no longer wanted.
    m_latest->store(0);
}

void SvgPane::begin(bool keepImage) {
    m_latest->store(++m_generation);
    m_renderer.reset();
    m_running = false;
    m_drawnBox = QSize();
    if (!keepImage)
        m_image = QImage();
    update();
}

void SvgPane::showNone() {
    m_state = State::Empty;
    m_renderer.reset();
    m_image = QImage();
    update();
    emit drawn();
}

void SvgPane::setFile(const QString &path) {
    const QString now = stamp(path);
    const bool sameFile =
        !path.isEmpty() && path == m_path && m_svg.isEmpty() && m_state != State::Fixed;
    // Shown again unchanged (the results changed elsewhere): what is shown or on its way stays,
    // and a file that could not be drawn is not tried again.
    if (sameFile && now == m_stamp)
        return;
    begin(sameFile);
    m_path = path;
    m_svg = QByteArray();
    m_stamp = now;
    if (path.isEmpty()) {
        showNone();
        return;
    }
    m_state = State::Drawing;
}

void SvgPane::setData(const QByteArray &svg) {
    const bool same = !svg.isEmpty() && svg == m_svg && m_state != State::Fixed;
    if (same)
        return;
    begin(false);
    m_path.clear();
    m_stamp.clear();
    m_svg = svg;
    if (svg.isEmpty()) {
        showNone();
        return;
    }
    m_state = State::Drawing;
}

void SvgPane::setImage(const QImage &image) {
    begin(false);
    m_path.clear();
    m_svg = QByteArray();
    m_image = image;
    if (image.isNull()) {
        showNone();
        return;
    }
    m_state = State::Fixed;
    emit drawn();
}

void SvgPane::setWaiting() {
    begin(false);
    m_path.clear();
    m_svg = QByteArray();
    m_state = State::Drawing;
}

void SvgPane::setDrawingWidth(int width) {
    if (width == m_drawingWidth)
        return;
    m_drawingWidth = width;
    update();
}

QRect SvgPane::drawingArea() const {
    QRect area = rect().adjusted(4, 4, -4, -4);
    if (m_drawingWidth > 0 && m_drawingWidth < width()) {
        area.setWidth(m_drawingWidth - 8);
        area.moveLeft((width() - area.width()) / 2);
    }
    return area;
}

void SvgPane::requestDrawing(QSize box) {
    if (m_running || box == m_drawnBox || box.isEmpty())
        return;
    // setWaiting's picture comes from elsewhere.
    if (m_path.isEmpty() && m_svg.isEmpty())
        return;
    m_running = true;
    const quint64 generation = m_generation;
    const std::shared_ptr<std::atomic<quint64>> latest = m_latest;
    auto *watcher = new QFutureWatcher<Drawing>(this);
    connect(watcher, &QFutureWatcher<Drawing>::finished, this, [this, watcher, generation, box] {
        watcher->deleteLater();
        if (generation != m_generation)
            return; // a document no longer shown
        m_running = false;
        const Drawing drawing = watcher->result();
        if (!drawing.renderer) {
            showNone();
            return;
        }
        m_renderer = drawing.renderer;
        m_natural = drawing.natural;
        m_image = drawing.image;
        m_drawnBox = box;
        m_state = State::Drawn;
        // At the size the pane has now: a resize meanwhile asks for the next drawing.
        update();
        emit drawn();
    });
    watcher->setFuture(QtConcurrent::run(
        &renderPool(), draw, m_path, m_svg, std::exchange(m_renderer, nullptr), box,
        std::function<bool()>([latest, generation] { return latest->load() != generation; })));
}

void SvgPane::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect area = drawingArea();
    if (m_state == State::Drawing || m_state == State::Drawn) {
        // Drawn at the screen's own pixel density; a pane is never more than that asks for.
        const int side = SvgRenderer::maximumSide;
        requestDrawing(
            (QSizeF(area.size()) * devicePixelRatioF()).toSize().boundedTo(QSize(side, side)));
    }
    if (m_image.isNull()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(area, Qt::AlignCenter,
                         m_state == State::Drawing ? tr("Drawing…") : tr("No preview"));
        return;
    }
    QSizeF size = m_state == State::Fixed ? QSizeF(m_image.size()) : m_natural;
    size.scale(QSizeF(area.size()), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(QRectF(area).center());

    // Light and slightly darker squares, the usual sign of transparency.
    constexpr int square = 8;
    QPixmap tile(2 * square, 2 * square);
    tile.fill(QColor(255, 255, 255));
    {
        QPainter tilePainter(&tile);
        tilePainter.fillRect(0, 0, square, square, QColor(204, 204, 204));
        tilePainter.fillRect(square, square, square, square, QColor(204, 204, 204));
    }
    painter.fillRect(target, QBrush(tile));
    painter.drawImage(target, m_image);
}
