#include "engine/SvgoMessages.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace SvgoMessages {

QString withoutEscapeCodes(const QString &text) {
    // CSI sequences (ESC [ parameters intermediates final) and the two-character ESC forms.
    static const QRegularExpression escapes(
        QStringLiteral("\\x1B(?:\\[[0-?]*[ -/]*[@-~]|[@-Z\\\\-_])"));
    QString result = text;
    result.remove(escapes);
    return result;
}

QString cannotStart(const QString &program, const QString &reason) {
    return QCoreApplication::translate("SvgoMessages",
                                       "The svgo at “%1” could not be started: %2. Choose another "
                                       "in Settings ▸ Advanced.")
        .arg(program, reason);
}

bool isNodeMissing(const QString &message) {
    // env: "/usr/bin/env: 'node': No such file or directory" (quotes vary with the locale);
    // sh: "sh: 1: node: not found"; bash: "node: command not found".
    static const QRegularExpression missing(
        QStringLiteral("(?:^|\\n)(?:\\S*env: .node(?:js)?.: No such file or "
                       "directory|.*\\bnode(?:js)?: (?:command )?not found)"));
    return missing.match(message).hasMatch();
}

QString userMessage(const QByteArray &standardError) {
    const QString text = withoutEscapeCodes(QString::fromUtf8(standardError));
    if (isNodeMissing(text))
        return QCoreApplication::translate(
            "SvgoMessages", "Node.js was not found, and svgo needs it to run. Install Node.js (on "
                            "Debian and Ubuntu: the nodejs package).");
    static const QRegularExpression stackFrame(QStringLiteral("^\\s+at \\S"));
    QStringList kept;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (!stackFrame.match(line).hasMatch())
            kept.append(line);
    }
    QString message = kept.join(QLatin1Char('\n'));
    // Keep the indentation of the first line's code frame, drop only empty lines around it.
    while (message.startsWith(QLatin1Char('\n')) || message.startsWith(QLatin1Char('\r')))
        message.remove(0, 1);
    while (!message.isEmpty() && message.back().isSpace())
        message.chop(1);
    return message;
}

bool isResourceExhaustion(const QString &message) {
    return message.contains(QLatin1String("EMFILE")) || message.contains(QLatin1String("ENFILE")) ||
           message.contains(QLatin1String("too many open files"), Qt::CaseInsensitive);
}

std::optional<int> failingInput(const QString &message, const QStringList &paths) {
    if (isResourceExhaustion(message))
        return std::nullopt;
    std::optional<int> found;
    qsizetype foundAt = -1;
    for (int index = 0; index < paths.size(); ++index) {
        const QString &path = paths.at(index);
        const qsizetype at = path.isEmpty() ? -1 : message.indexOf(path);
        if (at < 0)
            continue;
        if (!found || at < foundAt || (at == foundAt && paths.at(*found).size() < path.size())) {
            found = index;
            foundAt = at;
        }
    }
    return found;
}

QStringList ReportReader::feed(const QByteArray &bytes) {
    static const QRegularExpression doneLine(QStringLiteral("^Done in \\d+ ms!$"));
    m_pending.append(bytes);
    QStringList completed;
    qsizetype start = 0;
    // Only the new bytes are searched: a long line in many pieces costs its size, not more.
    for (qsizetype end = m_pending.indexOf('\n', m_scanned); end >= 0;
         start = end + 1, end = m_pending.indexOf('\n', start)) {
        QString line = QString::fromUtf8(m_pending.constData() + start, end - start);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (doneLine.match(line).hasMatch()) {
            if (!m_lastName.isNull())
                completed.append(m_lastName);
            m_lastName = QString();
        } else if (line.endsWith(QLatin1Char(':'))) {
            m_lastName = line.chopped(1);
        } else if (!line.isEmpty()) {
            m_lastName = QString();
        }
    }
    m_pending.remove(0, start);
    m_scanned = m_pending.size();
    return completed;
}

} // namespace SvgoMessages
