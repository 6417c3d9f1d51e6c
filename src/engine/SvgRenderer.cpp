#include "engine/SvgRenderer.h"

#include "engine/ShippedTools.h"
#include "model/Diagnostics.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// What the helper said about one request (see src/renderhelper/main.cpp for the wire format).
struct Answer {
    enum Status : uint8_t { Drawn = 0, Invalid = 1, Failed = 2 };
    uint8_t status = Failed;
    QSizeF natural{1, 1};
    QImage image;   // null when only parsed or not drawn
    QString reason; // librsvg's, for Invalid and Failed
};

// One helper process for the calling thread, started on first use and after it died. A socket
// rather than pipes: writing to a helper that just died must fail, not raise SIGPIPE here.
class RenderHelper {
public:
    ~RenderHelper() { stop(); }

    // Nothing when the helper could not be started, died or ran out of time; it is stopped then
    // and the next request starts a new one.
    std::optional<Answer> request(const QByteArray &svg, QSize size) {
        if (m_pid <= 0 && !start())
            return std::nullopt;
        const QDeadlineTimer deadline(SvgRenderer::timeLimitMs);
        const auto length = uint32_t(svg.size());
        const int32_t width = size.width(), height = size.height();
        // One send and as few reads as the answer allows: each system call on the socket costs
        // more than the copies that save it.
        QByteArray message(qsizetype(sizeof length + length + sizeof width + sizeof height),
                           Qt::Uninitialized);
        char *at = message.data();
        for (const auto &[data, bytes] : {std::pair<const void *, size_t>{&length, sizeof length},
                                          {svg.constData(), size_t(length)},
                                          {&width, sizeof width},
                                          {&height, sizeof height}}) {
            std::memcpy(at, data, bytes);
            at += bytes;
        }
        m_inStart = m_in.size(); // whatever was left belongs to no answer of this request
        if (!send(message.constData(), size_t(message.size()), deadline))
            return lost(deadline);
        Answer answer;
        double naturalWidth = 1, naturalHeight = 1;
        if (!receive(&answer.status, sizeof answer.status, deadline) ||
            !receive(&naturalWidth, sizeof naturalWidth, deadline) ||
            !receive(&naturalHeight, sizeof naturalHeight, deadline))
            return lost(deadline);
        answer.natural = QSizeF(naturalWidth, naturalHeight);
        if (answer.status != Answer::Drawn) {
            uint32_t reasonLength = 0;
            if (!receive(&reasonLength, sizeof reasonLength, deadline) || reasonLength > 65536)
                return lost(deadline);
            QByteArray reason(qsizetype(reasonLength), Qt::Uninitialized);
            if (!receive(reason.data(), reasonLength, deadline))
                return lost(deadline);
            answer.reason = QString::fromUtf8(reason);
            return answer;
        }
        // A negative size asks for the drawing fitted into that box.
        const int32_t widest = std::abs(width), highest = std::abs(height);
        int32_t drawnWidth = 0, drawnHeight = 0;
        if (!receive(&drawnWidth, sizeof drawnWidth, deadline) ||
            !receive(&drawnHeight, sizeof drawnHeight, deadline) || drawnWidth < 0 ||
            drawnHeight < 0 || drawnWidth > widest || drawnHeight > highest)
            return lost(deadline);
        if (drawnWidth == 0 || drawnHeight == 0)
            return answer;
        // Cairo's ARGB32 is QImage's premultiplied ARGB32 in native byte order, and a 32-bit
        // QImage has no padding at the end of its rows, so the pixels land in place.
        QImage image(drawnWidth, drawnHeight, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull() || image.bytesPerLine() != qsizetype(drawnWidth) * 4)
            return lost(deadline);
        if (!receive(image.bits(), size_t(image.sizeInBytes()), deadline))
            return lost(deadline);
        answer.image = image;
        return answer;
    }

private:
    static constexpr qsizetype chunk = 65536;

    pid_t m_pid = -1;
    int m_socket = -1;
    QByteArray m_in; // received, not taken yet from m_inStart on
    qsizetype m_inStart = 0;

    static QString program() {
        static const QString path = ShippedTools::file(QStringLiteral("mirandel-render"));
        return path;
    }

    bool start() {
        QByteArray path = program().toLocal8Bit();
        if (path.isEmpty()) {
            qCWarning(lcMirandel) << "The drawing helper mirandel-render is missing";
            return false;
        }
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
            qCWarning(lcMirandel) << "No socket for the drawing helper:" << strerror(errno);
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        // A process group of its own, so that stopping it stops all of it; and the default
        // signal handling whatever this program changed.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setpgroup(&attributes, 0);
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                                  POSIX_SPAWN_SETSIGDEF);
        char *arguments[] = {path.data(), nullptr};
        pid_t pid = -1;
        const int failure =
            posix_spawn(&pid, path.constData(), &actions, &attributes, arguments, environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        close(ends[1]);
        if (failure != 0) {
            close(ends[0]);
            qCWarning(lcMirandel) << "Cannot start the drawing helper:" << strerror(failure);
            return false;
        }
        m_pid = pid;
        m_socket = ends[0];
        return true;
    }

    // Returns how the helper ended, as waitpid tells it; 0 when there was none.
    int stop() {
        if (m_socket >= 0)
            close(m_socket);
        m_socket = -1;
        m_in.clear();
        m_inStart = 0;
        int status = 0;
        if (m_pid > 0) {
            // A helper that already died keeps its own ending: a killed zombie stays as it was.
            kill(-m_pid, SIGKILL);
            while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
        m_pid = -1;
        return status;
    }

    std::optional<Answer> lost(const QDeadlineTimer &deadline) {
        const int status = stop();
        if (deadline.hasExpired())
            qCWarning(lcMirandel) << "The drawing helper took longer than"
                                  << SvgRenderer::timeLimitMs << "ms and was stopped";
        else if (WIFSIGNALED(status) && WTERMSIG(status) != SIGKILL)
            qCWarning(lcMirandel) << "The drawing helper crashed with signal" << WTERMSIG(status);
        else
            qCWarning(lcMirandel) << "The drawing helper stopped answering";
        return std::nullopt;
    }

    // Waits for the socket until the deadline; false when the time is up or the helper is gone.
    bool wait(short events, const QDeadlineTimer &deadline) {
        for (;;) {
            pollfd entry{m_socket, events, 0};
            const int ready = poll(&entry, 1, int(std::max<qint64>(0, deadline.remainingTime())));
            if (ready < 0 && errno == EINTR)
                continue;
            return ready > 0 && (entry.revents & events) != 0;
        }
    }

    // Both try first and wait only when the socket is not ready: a wait is another call.
    bool send(const void *data, size_t size, const QDeadlineTimer &deadline) {
        const auto *bytes = static_cast<const char *>(data);
        while (size > 0) {
            const ssize_t sent = ::send(m_socket, bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent < 0 && errno == EINTR)
                continue;
            if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                if (!wait(POLLOUT, deadline))
                    return false;
                continue;
            }
            if (sent <= 0)
                return false;
            bytes += sent;
            size -= size_t(sent);
        }
        return true;
    }

    // Small fields come out of a buffer filled a chunk at a time; the pixels of a larger drawing
    // go straight where they belong.
    bool receive(void *data, size_t size, const QDeadlineTimer &deadline) {
        auto *bytes = static_cast<char *>(data);
        const auto take = [&] {
            const size_t taken = std::min(size, size_t(m_in.size() - m_inStart));
            std::memcpy(bytes, m_in.constData() + m_inStart, taken);
            m_inStart += qsizetype(taken);
            bytes += taken;
            size -= taken;
        };
        take();
        while (size > 0) {
            const bool direct = size >= size_t(chunk);
            if (!direct) {
                m_in.resize(chunk);
                m_inStart = chunk;
            }
            const ssize_t got = recv(m_socket, direct ? bytes : m_in.data(),
                                     direct ? size : size_t(chunk), MSG_DONTWAIT);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                if (!wait(POLLIN, deadline))
                    return false;
                continue;
            }
            if (got <= 0)
                return false;
            if (direct) {
                bytes += got;
                size -= size_t(got);
            } else {
                m_in.resize(got);
                m_inStart = 0;
                take();
            }
        }
        return true;
    }
};

thread_local RenderHelper helper;

} // namespace

SvgRenderer::SvgRenderer(const QByteArray &svg) : m_svg(svg) {}

namespace {

// What any answer tells about the document itself.
void learn(const std::optional<Answer> &answer, bool &valid, bool &couldNotDraw, QString &error,
           QSizeF &natural) {
    couldNotDraw = !answer;
    if (!answer)
        return;
    natural = answer->natural;
    valid = answer->status != Answer::Invalid;
    if (!valid)
        error = answer->reason;
}

} // namespace

void SvgRenderer::parse() const {
    if (m_parsed)
        return;
    m_parsed = true;
    learn(helper.request(m_svg, QSize(0, 0)), m_valid, m_couldNotDraw, m_error, m_natural);
}

QSize SvgRenderer::fittedSize(QSize box) const {
    const QSizeF fitted = naturalSize().scaled(QSizeF(box), Qt::KeepAspectRatio);
    return QSize(std::max(1, int(std::lround(fitted.width()))),
                 std::max(1, int(std::lround(fitted.height()))));
}

QImage SvgRenderer::render(QSize size) const {
    if ((m_parsed && (!m_valid || m_couldNotDraw)) || size.isEmpty())
        return {};
    return draw(size.boundedTo(QSize(maximumSide, maximumSide)));
}

QImage SvgRenderer::renderFitted(QSize box) const {
    if (m_parsed || box.isEmpty() || box.width() > maximumSide || box.height() > maximumSide)
        return render(fittedSize(box));
    // The helper fits the drawing itself, so a first drawing is one round trip, not two.
    return draw(QSize(-box.width(), -box.height()));
}

QImage SvgRenderer::draw(QSize size) const {
    const std::optional<Answer> answer = helper.request(m_svg, size);
    m_parsed = true;
    learn(answer, m_valid, m_couldNotDraw, m_error, m_natural);
    if (!answer || answer->status == Answer::Invalid)
        return {};
    if (answer->status != Answer::Drawn) {
        qCWarning(lcMirandel) << "librsvg could not draw a document:"
                              << (answer->reason.isEmpty() ? QStringLiteral("no reason given")
                                                           : answer->reason);
        return {};
    }
    return answer->image;
}
