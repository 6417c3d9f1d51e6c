#include "model/IncrementedName.h"

#include <QStringList>

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

// White space as the naming rule counts it: space separators and the tab, but no line breaks.
bool isBlank(char32_t c) {
    return c == U'\t' || QChar::category(c) == QChar::Separator_Space;
}

QString trimmedBlanks(const QString &text) {
    const QList<uint> codePoints = text.toUcs4();
    qsizetype begin = 0;
    qsizetype end = codePoints.size();
    while (begin < end && isBlank(codePoints[begin]))
        ++begin;
    while (end > begin && isBlank(codePoints[end - 1]))
        --end;
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()) + begin,
                             end - begin);
}

// Any Unicode decimal digit counts, not only 0-9.
bool allDecimalDigits(const QString &text) {
    const QList<uint> codePoints = text.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(), [](uint c) {
        return QChar::category(char32_t(c)) == QChar::Number_DecimalDigit;
    });
}

// Reads plain ASCII decimal digits only; other scripts' digits and values past 64 bits fail.
std::optional<qint64> parseInt64(const QString &digits) {
    const QByteArray latin = digits.toLatin1();
    if (latin.size() != digits.size())
        return std::nullopt;
    qint64 value = 0;
    const auto [end, error] =
        std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (error != std::errc() || end != latin.constData() + latin.size())
        return std::nullopt;
    return value;
}

} // namespace

QString incrementedName(const QString &name) {
    const QString space = QStringLiteral(" ");
    QStringList components = name.split(u' ');
    if (components.size() < 2)
        return name + QStringLiteral(" 2");

    const QString last = trimmedBlanks(components.last());
    if (last.isEmpty() || !allDecimalDigits(last))
        return name + QStringLiteral(" 2");

    // An unreadable number (too long, or digits of another script) restarts the count at 2.
    const qint64 number = parseInt64(last).value_or(1);
    // The largest 64-bit number has no successor; rather than wrap around to a negative
    // number, treat it like any other word and start a fresh count after it.
    if (number == std::numeric_limits<qint64>::max())
        return name + QStringLiteral(" 2");

    components.removeLast();
    return components.join(space) + space + QString::number(number + 1);
}

bool sameName(const QString &a, const QString &b) {
    return a.trimmed().toCaseFolded() == b.trimmed().toCaseFolded();
}

QString freeName(const QString &wanted, const QStringList &taken) {
    const auto isTaken = [&taken](const QString &name) {
        return std::any_of(taken.cbegin(), taken.cend(),
                           [&name](const QString &other) { return sameName(name, other); });
    };
    // Every step gives a name none of the earlier steps gave, so at most one more step than
    // there are taken names finds a free one.
    QString name = wanted;
    for (qsizetype step = 0; step <= taken.size() && isTaken(name); ++step)
        name = incrementedName(name);
    return name;
}
