#include "engine/InputGuard.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The encoding an XML declaration names, and where the name stands.
struct Declared {
    QString encoding;
    qsizetype start = -1, length = 0;
};

// The declaration is ASCII in every encoding svgo could read, so raw bytes read as Latin-1 serve
// as well as decoded text.
Declared declaredEncoding(const QString &start) {
    static const QRegularExpression declaration(
        QStringLiteral(R"(^\s*<\?xml\s[^>]*?\bencoding\s*=\s*["']([A-Za-z0-9._:-]+)["'])"));
    const QRegularExpressionMatch match = declaration.match(start.left(256));
    if (!match.hasMatch())
        return {};
    return {match.captured(1), match.capturedStart(1), match.capturedLength(1)};
}

bool isUtf8(const QString &name) {
    return name.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString InputGuard::open(QFile &file, bool *notRegular) {
    if (notRegular)
        *notRegular = false;
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK opening a named pipe waits for a writer; for a regular file the flag
    // changes nothing.
    const int descriptor = ::open(QFile::encodeName(file.fileName()).constData(),
                                  O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        if (notRegular)
            *notRegular = true;
        return tr("Not a regular file: only files are read, not devices, pipes or folders.");
    }
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return file.errorString();
    }
    return QString();
#else
    return file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
#endif
}

QString InputGuard::tooLargeMessage() {
    return tr("The file is larger than %1 MiB, the most Mirandel reads.").arg(maximumSize >> 20);
}

std::optional<QByteArray> InputGuard::readFile(const QString &path, QString *failure) {
    QFile file(path);
    QString why = open(file);
    std::optional<QByteArray> bytes;
    if (why.isEmpty()) {
        bytes = read(file);
        if (!bytes)
            why = tooLargeMessage();
    }
    if (failure)
        *failure = why;
    return bytes;
}

std::optional<QByteArray> InputGuard::read(QFile &file) {
    // One byte past the size tells a file that grew past the limit since it was looked at.
    QByteArray bytes = file.read(std::min(file.size(), maximumSize) + 1);
    if (bytes.size() > maximumSize)
        return std::nullopt;
    return bytes;
}

InputGuard::Checked InputGuard::check(const QByteArray &input) {
    if (input.trimmed().isEmpty())
        return {{}, tr("Empty file")};

    QByteArray svg = input;
    const Declared declared = declaredEncoding(QString::fromLatin1(input.left(256)));
    // A byte order mark of UTF-16 or UTF-32 says more than any declaration.
    std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(input);
    // Without a mark, UTF-16 still shows in its first character: XML starts with "<", and in
    // UTF-16 that character has a zero byte beside it.
    if (!marked && input.size() >= 2 && input.at(0) == '<' && input.at(1) == '\0')
        marked = QStringConverter::Utf16LE;
    else if (!marked && input.size() >= 2 && input.at(0) == '\0' && input.at(1) == '<')
        marked = QStringConverter::Utf16BE;
    const bool otherMark = marked && *marked != QStringConverter::Utf8;
    if (otherMark || (!declared.encoding.isEmpty() && !isUtf8(declared.encoding))) {
        const QByteArray name = otherMark ? QByteArray(QStringConverter::nameForEncoding(*marked))
                                          : declared.encoding.toLatin1();
        QStringDecoder decoder(name.constData());
        if (!decoder.isValid())
            return {{}, tr("Unknown text encoding %1").arg(QString::fromLatin1(name))};
        QString text = decoder.decode(input);
        if (decoder.hasError())
            return {{}, tr("The file is not valid %1 text").arg(QString::fromLatin1(name))};
        if (text.startsWith(QChar::ByteOrderMark))
            text.remove(0, 1);
        const Declared again = declaredEncoding(text);
        if (again.start >= 0)
            text.replace(again.start, again.length, QStringLiteral("UTF-8"));
        svg = text.toUtf8();
    } else {
        // svgo would read the bytes as UTF-8 and write every byte that is not as U+FFFD, so a
        // Latin-1 "é" would be lost in the optimized file. No zero byte belongs in XML either.
        QStringDecoder decoder(QStringConverter::Utf8);
        const QString decoded = decoder.decode(input); // decoding happens on the conversion
        if (decoder.hasError() || input.contains('\0'))
            return {{}, tr("The file is not valid UTF-8 text and declares no encoding")};
    }

    // The root element decides; whatever svgo could say about a broken document is left to it.
    QXmlStreamReader reader(svg);
    while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::StartElement) {
    }
    if (reader.tokenType() != QXmlStreamReader::StartElement)
        return reader.error() == QXmlStreamReader::PrematureEndOfDocumentError || !svg.contains('<')
                   ? Checked{{}, tr("Not an SVG document")}
                   : Checked{svg, {}};
    if (reader.name() != QLatin1String("svg"))
        return {{}, tr("Not an SVG document")};
    return {svg, {}};
}
