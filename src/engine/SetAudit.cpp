#include "engine/SetAudit.h"

#include "engine/MarkupScanner.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <map>

namespace {

// What one document shows of itself.
struct Traits {
    QStringList ids; // in the order defined, each once
    bool hasRoot = false;
    QString viewBoxSize; // "24 × 24"; empty without a usable viewBox
    bool usesCurrentColor = false;
    bool hardCodedColour = false;
    bool script = false;
    bool eventHandlers = false;
    bool foreignObject = false;
    bool image = false;
    bool text = false;
};

bool isColourProperty(QStringView name) {
    static const QSet<QString> names{
        QStringLiteral("fill"),           QStringLiteral("stroke"),
        QStringLiteral("stop-color"),     QStringLiteral("flood-color"),
        QStringLiteral("lighting-color"), QStringLiteral("color")};
    return names.contains(name.trimmed().toString().toLower());
}

// A colour a designer chose, as opposed to none, currentColor, a paint server or inheritance.
bool isHardCodedColour(QStringView value) {
    const QString v = value.trimmed().toString().toLower();
    static const QSet<QString> neutral{
        QStringLiteral("none"),         QStringLiteral("currentcolor"),  QStringLiteral("inherit"),
        QStringLiteral("transparent"),  QStringLiteral("initial"),       QStringLiteral("unset"),
        QStringLiteral("context-fill"), QStringLiteral("context-stroke")};
    return !v.isEmpty() && !neutral.contains(v) && !v.startsWith(u"url(") && !v.startsWith(u"var(");
}

// "fill: #f00; stroke: none" in a style attribute or a style sheet's blocks.
void readDeclarations(QStringView css, Traits &traits) {
    static const QRegularExpression declaration(QStringLiteral("([\\w-]+)\\s*:\\s*([^;}{]+)"));
    for (auto it = declaration.globalMatch(css); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (!isColourProperty(match.capturedView(1)))
            continue;
        QStringView value = match.capturedView(2);
        if (const qsizetype important = value.indexOf(u'!'); important >= 0)
            value = value.first(important);
        if (value.trimmed().compare(u"currentColor", Qt::CaseInsensitive) == 0)
            traits.usesCurrentColor = true;
        else if (isHardCodedColour(value))
            traits.hardCodedColour = true;
    }
}

Traits traitsOf(const QByteArray &svg) {
    Traits traits;
    const QString markup = QString::fromUtf8(svg);
    QSet<QString> seen;
    Markup::scan(
        markup,
        [&](const Markup::StartTag &tag) {
            const QStringView name = Markup::localName(tag.name);
            const bool root = !traits.hasRoot;
            traits.hasRoot = true;
            traits.script = traits.script || name == u"script";
            traits.foreignObject = traits.foreignObject || name == u"foreignObject";
            traits.image = traits.image || name == u"image";
            traits.text = traits.text || name == u"text";
            for (const Markup::Attribute &attribute : tag.attributes) {
                const QStringView value =
                    QStringView(markup).sliced(attribute.valueStart, attribute.valueLength);
                if (attribute.name == u"id" && !value.isEmpty()) {
                    if (!seen.contains(value.toString())) {
                        seen.insert(value.toString());
                        traits.ids.append(value.toString());
                    }
                } else if (attribute.name.size() > 2 &&
                           attribute.name.startsWith(u"on", Qt::CaseInsensitive)) {
                    traits.eventHandlers = true;
                } else if (attribute.name == u"style") {
                    readDeclarations(value, traits);
                } else if (isColourProperty(attribute.name)) {
                    if (value.trimmed().compare(u"currentColor", Qt::CaseInsensitive) == 0)
                        traits.usesCurrentColor = true;
                    else if (isHardCodedColour(value))
                        traits.hardCodedColour = true;
                } else if (root && attribute.name == u"viewBox") {
                    const QStringList numbers = value.toString().split(
                        QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
                    bool wOk = false, hOk = false;
                    const double w = numbers.value(2).toDouble(&wOk);
                    const double h = numbers.value(3).toDouble(&hOk);
                    if (numbers.size() == 4 && wOk && hOk && w > 0 && h > 0)
                        traits.viewBoxSize =
                            QStringLiteral("%1 × %2").arg(QString::number(w), QString::number(h));
                }
            }
        },
        [&](qsizetype start, qsizetype length, QStringView element) {
            if (Markup::localName(element) == u"style")
                readDeclarations(QStringView(markup).sliced(start, length), traits);
        });
    return traits;
}

QStringList pathsOf(const QList<SetAudit::Document> &documents, const QList<int> &indices) {
    QStringList paths;
    for (int index : indices)
        paths.append(documents.at(index).path);
    return paths;
}

QList<SetAudit::Finding> collisions(const QList<SetAudit::Document> &documents,
                                    const QList<Traits> &traits, bool optimized) {
    // Ids in the order first met, each with the documents that define it.
    QHash<QString, QList<int>> definedIn;
    QStringList order;
    for (int index = 0; index < traits.size(); ++index)
        for (const QString &id : traits.at(index).ids) {
            QList<int> &list = definedIn[id];
            if (list.isEmpty())
                order.append(id);
            list.append(index);
        }
    QList<SetAudit::Finding> findings;
    for (const QString &id : std::as_const(order)) {
        const QList<int> &list = definedIn.value(id);
        if (list.size() < 2)
            continue;
        findings.append(
            {optimized ? SetAudit::Finding::Kind::CollidingIdsAfterOptimizing
                       : SetAudit::Finding::Kind::CollidingIds,
             optimized ? SetAudit::tr("After optimizing, the id “%1” is defined in %n files: "
                                      "inlined in one page they point at each other's parts.",
                                      nullptr, int(list.size()))
                             .arg(id)
                       : SetAudit::tr("The id “%1” is defined in %n files: inlined in one page "
                                      "they point at each other's parts.",
                                      nullptr, int(list.size()))
                             .arg(id),
             pathsOf(documents, list)});
    }
    // The ids shared most widely first.
    std::stable_sort(findings.begin(), findings.end(),
                     [](const SetAudit::Finding &a, const SetAudit::Finding &b) {
                         return a.files.size() > b.files.size();
                     });
    return findings;
}

} // namespace

QList<SetAudit::Finding> SetAudit::collidingIds(const QList<Document> &documents, bool optimized) {
    QList<Traits> traits;
    for (const Document &document : documents)
        traits.append(traitsOf(document.svg));
    return collisions(documents, traits, optimized);
}

QList<SetAudit::Finding> SetAudit::audit(const QList<Document> &documents) {
    QList<Traits> traits;
    for (const Document &document : documents)
        traits.append(traitsOf(document.svg));
    QList<Finding> findings = collisions(documents, traits, false);

    // The viewBox size most of the set has; the others are named by size.
    std::map<QString, QList<int>> bySize;
    int withViewBox = 0;
    for (int index = 0; index < traits.size(); ++index)
        if (!traits.at(index).viewBoxSize.isEmpty()) {
            bySize[traits.at(index).viewBoxSize].append(index);
            ++withViewBox;
        }
    const auto usual = std::max_element(bySize.cbegin(), bySize.cend(), [](auto &a, auto &b) {
        return a.second.size() < b.second.size();
    });
    if (usual != bySize.cend() && withViewBox >= 3 && usual->second.size() * 2 > withViewBox)
        for (const auto &[size, indices] : bySize)
            if (size != usual->first)
                findings.append(
                    {Finding::Kind::OddViewBox,
                     tr("A viewBox of %1 instead of the set's usual %2.").arg(size, usual->first),
                     pathsOf(documents, indices)});

    const auto having = [&](bool Traits::*trait) {
        QList<int> indices;
        for (int index = 0; index < traits.size(); ++index)
            if (traits.at(index).*trait)
                indices.append(index);
        return indices;
    };
    const QList<int> tinted = having(&Traits::usesCurrentColor);
    if (tinted.size() * 2 > traits.size()) {
        if (const QList<int> coloured = having(&Traits::hardCodedColour); !coloured.isEmpty())
            findings.append({Finding::Kind::HardCodedColours,
                             tr("Colours other than currentColor, in a set that mostly uses "
                                "currentColor: these do not follow the text colour."),
                             pathsOf(documents, coloured)});
    }
    const std::pair<bool Traits::*, std::pair<Finding::Kind, QString>> flagged[] = {
        {&Traits::script,
         {Finding::Kind::Script, tr("Scripts (<script>): pages and tools that "
                                    "take icons may refuse or run them.")}},
        {&Traits::eventHandlers,
         {Finding::Kind::EventHandlers,
          tr("Event handlers (onload, onclick…): scripts in attributes.")}},
        {&Traits::foreignObject,
         {Finding::Kind::ForeignObject,
          tr("Embedded HTML (<foreignObject>): drawn differently, or not at all, outside "
             "browsers.")}},
        {&Traits::image, {Finding::Kind::Image, tr("Bitmaps or linked files (<image>).")}},
        {&Traits::text,
         {Finding::Kind::Text, tr("Text (<text>): it looks as the fonts where it is shown.")}},
    };
    for (const auto &[trait, finding] : flagged)
        if (const QList<int> indices = having(trait); !indices.isEmpty())
            findings.append({finding.first, finding.second, pathsOf(documents, indices)});

    QList<int> unscalable;
    for (int index = 0; index < traits.size(); ++index)
        if (traits.at(index).hasRoot && traits.at(index).viewBoxSize.isEmpty())
            unscalable.append(index);
    if (!unscalable.isEmpty())
        findings.append({Finding::Kind::NoViewBox,
                         tr("No viewBox: these icons cannot be scaled to the size they are "
                            "shown at."),
                         pathsOf(documents, unscalable)});
    return findings;
}
