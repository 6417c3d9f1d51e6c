#include "model/SVGFile.h"

#include <QDir>
#include <QHashFunctions>
#include <QJsonDocument>

namespace {

const QString idKey = QStringLiteral("id");
const QString fileNameKey = QStringLiteral("fileName");
const QString urlKey = QStringLiteral("url");

QString lastPathComponent(const QString &path) {
    qsizetype end = path.size();
    // A folder URL ends with a slash; its last component is the folder's own name.
    while (end > 1 && path.at(end - 1) == u'/')
        --end;
    const qsizetype slash = path.lastIndexOf(u'/', end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

} // namespace

SVGFile SVGFile::fromUrl(const QUrl &url) {
    const QString path = plainPath(url);
    return {path, lastPathComponent(path), url};
}

QJsonObject SVGFile::toJsonObject() const {
    return {{idKey, id}, {fileNameKey, fileName}, {urlKey, url.toString(QUrl::FullyEncoded)}};
}

std::optional<SVGFile> SVGFile::fromJsonObject(const QJsonObject &object) {
    const QJsonValue id = object.value(idKey);
    const QJsonValue fileName = object.value(fileNameKey);
    const QJsonValue urlText = object.value(urlKey);
    if (!id.isString() || !fileName.isString() || !urlText.isString())
        return std::nullopt;
    const QUrl url(urlText.toString(), QUrl::StrictMode);
    if (urlText.toString().isEmpty() || !url.isValid())
        return std::nullopt;
    return SVGFile{id.toString(), fileName.toString(), url};
}

QByteArray SVGFile::toJson() const {
    return QJsonDocument(toJsonObject()).toJson(QJsonDocument::Compact);
}

std::optional<SVGFile> SVGFile::fromJson(const QByteArray &json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return fromJsonObject(document.object());
}

size_t qHash(const SVGFile &file, size_t seed) {
    return qHashMulti(seed, file.id, file.fileName, file.url);
}

QString plainPath(const QUrl &url) {
    return url.isLocalFile() ? url.toLocalFile() : url.path(QUrl::FullyDecoded);
}

QString abbreviatedPath(const QUrl &url) {
    QString home = QDir::homePath();
    if (!home.endsWith(u'/'))
        home += u'/';

    return trimmedLineBreaks(plainPath(url)).replace(home, QStringLiteral("~/"));
}

QString trimmedLineBreaks(const QString &text) {
    const auto isLineBreak = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
    };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isLineBreak(text.at(begin)))
        ++begin;
    while (end > begin && isLineBreak(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}
