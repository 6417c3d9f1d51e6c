#include "platform/Appcast.h"

#include <QOperatingSystemVersion>
#include <QXmlStreamReader>

const QString Appcast::sparkleNamespace =
    QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

QString AppcastItem::displayVersion() const {
    return shortVersionString.isEmpty() ? version : shortVersionString;
}

namespace {

bool isSparkle(const QXmlStreamReader &reader, QLatin1StringView name) {
    return reader.namespaceUri() == Appcast::sparkleNamespace && reader.name() == name;
}

bool isPlain(const QXmlStreamReader &reader, QLatin1StringView name) {
    return reader.namespaceUri().isEmpty() && reader.name() == name;
}

// Older feeds put the versions on the enclosure; an element of the item, when present, wins.
void readEnclosure(const QXmlStreamAttributes &attributes, AppcastItem &item,
                   QString &enclosureVersion, QString &enclosureShortVersion) {
    item.enclosureUrl = QUrl(attributes.value(QLatin1StringView("url")).toString().trimmed());
    bool ok = false;
    const qint64 length = attributes.value(QLatin1StringView("length")).toLongLong(&ok);
    item.enclosureLength = ok ? length : -1;
    enclosureVersion = attributes.value(Appcast::sparkleNamespace, QLatin1StringView("version"))
                           .toString()
                           .trimmed();
    enclosureShortVersion =
        attributes.value(Appcast::sparkleNamespace, QLatin1StringView("shortVersionString"))
            .toString()
            .trimmed();
}

AppcastItem readItem(QXmlStreamReader &reader) {
    AppcastItem item;
    QString enclosureVersion;
    QString enclosureShortVersion;
    while (reader.readNextStartElement()) {
        if (isPlain(reader, QLatin1StringView("title"))) {
            item.title = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (isPlain(reader, QLatin1StringView("description"))) {
            // HTML written without CDATA arrives as child elements; keep at least its text.
            item.description = reader.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (isPlain(reader, QLatin1StringView("enclosure"))) {
            readEnclosure(reader.attributes(), item, enclosureVersion, enclosureShortVersion);
            reader.skipCurrentElement();
        } else if (isSparkle(reader, QLatin1StringView("version"))) {
            item.version = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (isSparkle(reader, QLatin1StringView("shortVersionString"))) {
            item.shortVersionString =
                reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (isSparkle(reader, QLatin1StringView("releaseNotesLink"))) {
            item.releaseNotesLink =
                QUrl(reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed());
        } else if (isSparkle(reader, QLatin1StringView("minimumSystemVersion"))) {
            item.minimumSystemVersion =
                reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else {
            reader.skipCurrentElement();
        }
    }
    if (item.version.isEmpty())
        item.version = enclosureVersion;
    if (item.shortVersionString.isEmpty())
        item.shortVersionString = enclosureShortVersion;
    return item;
}

enum class PartType { Number, Letters };
struct VersionPart {
    PartType type;
    QString text;
};

// Separators (".", "-", "_", spaces) only delimit parts; digits and letters form the parts.
QList<VersionPart> splitVersion(const QString &version) {
    QList<VersionPart> parts;
    for (const QChar c : version) {
        if (c.isPunct() || c.isSpace() || c.isSymbol()) {
            parts.append({PartType::Letters, QString()}); // marks a boundary, dropped below
            continue;
        }
        const PartType type = c.isDigit() ? PartType::Number : PartType::Letters;
        if (!parts.isEmpty() && parts.last().type == type && !parts.last().text.isEmpty())
            parts.last().text.append(c);
        else
            parts.append({type, QString(c)});
    }
    parts.removeIf([](const VersionPart &part) { return part.text.isEmpty(); });
    return parts;
}

// Compares digit strings of any length without overflowing an integer type.
int compareNumbers(QString a, QString b) {
    auto stripZeros = [](QString &s) {
        qsizetype i = 0;
        while (i < s.size() - 1 && s.at(i) == QLatin1Char('0'))
            ++i;
        s.remove(0, i);
    };
    stripZeros(a);
    stripZeros(b);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

bool isZero(const VersionPart &part) {
    return part.type == PartType::Number && compareNumbers(part.text, QStringLiteral("0")) == 0;
}

} // namespace

std::optional<QList<AppcastItem>> Appcast::parse(const QByteArray &document, QString *error) {
    QXmlStreamReader reader(document);
    QList<AppcastItem> items;
    bool sawChannel = false;
    if (reader.readNextStartElement()) {
        if (!isPlain(reader, QLatin1StringView("rss"))) {
            reader.raiseError(QStringLiteral("the document is not an RSS feed"));
        } else {
            while (reader.readNextStartElement()) {
                if (!isPlain(reader, QLatin1StringView("channel"))) {
                    reader.skipCurrentElement();
                    continue;
                }
                sawChannel = true;
                while (reader.readNextStartElement()) {
                    if (isPlain(reader, QLatin1StringView("item"))) {
                        AppcastItem item = readItem(reader);
                        if (!item.version.isEmpty())
                            items.append(std::move(item));
                    } else {
                        reader.skipCurrentElement();
                    }
                }
            }
        }
    }
    // Reading to the end makes the reader notice damage after the last element too.
    while (!reader.atEnd() && !reader.hasError())
        reader.readNext();
    if (!reader.hasError() && !sawChannel)
        reader.raiseError(QStringLiteral("the feed has no channel"));
    if (reader.hasError()) {
        if (error)
            *error = reader.errorString();
        return std::nullopt;
    }
    return items;
}

int Appcast::compareVersions(const QString &a, const QString &b) {
    const QList<VersionPart> partsA = splitVersion(a);
    const QList<VersionPart> partsB = splitVersion(b);
    const qsizetype common = qMin(partsA.size(), partsB.size());
    for (qsizetype i = 0; i < common; ++i) {
        const VersionPart &pa = partsA.at(i);
        const VersionPart &pb = partsB.at(i);
        if (pa.type != pb.type) // a number where the other has letters is the later release
            return pa.type == PartType::Number ? 1 : -1;
        const int order = pa.type == PartType::Number
                              ? compareNumbers(pa.text, pb.text)
                              : pa.text.compare(pb.text, Qt::CaseInsensitive);
        if (order != 0)
            return order < 0 ? -1 : 1;
    }
    // One version goes on: zeros add nothing, letters mark a pre-release of the shorter one,
    // any other number makes it a later release.
    const bool aLonger = partsA.size() > partsB.size();
    const QList<VersionPart> &longer = aLonger ? partsA : partsB;
    for (qsizetype i = common; i < longer.size(); ++i) {
        if (isZero(longer.at(i)))
            continue;
        const bool longerIsNewer = longer.at(i).type == PartType::Number;
        return (longerIsNewer == aLonger) ? 1 : -1;
    }
    return 0;
}

bool Appcast::systemSatisfies(const QString &minimum, const std::optional<QString> &running) {
    if (minimum.trimmed().isEmpty() || !running)
        return true;
    return compareVersions(*running, minimum) >= 0;
}

std::optional<AppcastItem> Appcast::newestItem(const QList<AppcastItem> &items,
                                               const std::optional<QString> &runningSystem) {
    std::optional<AppcastItem> newest;
    for (const AppcastItem &item : items) {
        if (!systemSatisfies(item.minimumSystemVersion, runningSystem))
            continue;
        if (!newest || compareVersions(item.version, newest->version) > 0)
            newest = item;
    }
    return newest;
}

std::optional<QString> Appcast::runningSystemVersion() {
#ifdef Q_OS_MACOS
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    return QStringLiteral("%1.%2.%3")
        .arg(os.majorVersion())
        .arg(qMax(0, os.minorVersion()))
        .arg(qMax(0, os.microVersion()));
#else
    return std::nullopt;
#endif
}
