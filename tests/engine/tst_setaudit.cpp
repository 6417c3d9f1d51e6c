// The set audit on small sets made for it: each finds what it was made to show, and only that.

#include "engine/SetAudit.h"

#include <QtTest>

namespace {

QByteArray icon(const QByteArray &inside, const QByteArray &root = "viewBox=\"0 0 16 16\"") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" " + root + ">" + inside + "</svg>";
}

const QByteArray tinted = icon("<path fill=\"currentColor\" d=\"M0 0h16v16z\"/>");

} // namespace

using Set = QList<SetAudit::Document>;
Q_DECLARE_METATYPE(Set)

class tst_SetAudit : public QObject {
    Q_OBJECT
private slots:
    void findings_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<QStringList>("expected"); // "kind: file file…" per finding

        QTest::newRow("a clean set") << Set{{"a", tinted}, {"b", tinted}} << QStringList{};
        QTest::newRow("two files with the same id")
            << Set{{"a", icon("<linearGradient id=\"g\"/><g id=\"x\"/>")},
                   {"b", icon("<linearGradient id=\"h\"/>")},
                   {"c", icon("<clipPath id=\"g\"/>")}}
            << QStringList{"0: a c"};
        QTest::newRow("the ids shared most widely first")
            << Set{{"a", icon("<g id=\"x\"/><g id=\"y\"/>")},
                   {"b", icon("<g id=\"y\"/><g id=\"x\"/>")},
                   {"c", icon("<g id=\"y\"/>")}}
            << QStringList{"0: a b c", "0: a b"};
        QTest::newRow("a stray viewBox")
            << Set{{"a", tinted},
                   {"b", tinted},
                   {"c", icon("<path fill=\"currentColor\"/>", "viewBox=\"0,0,24,24\"")}}
            << QStringList{"2: c"};
        QTest::newRow("sizes without a usual one are not odd")
            << Set{{"a", icon("", "viewBox=\"0 0 16 16\"")},
                   {"b", icon("", "viewBox=\"0 0 24 24\"")},
                   {"c", icon("", "viewBox=\"0 0 32 32\"")}}
            << QStringList{};
        QTest::newRow("a hard-coded colour in a currentColor set")
            << Set{{"a", tinted},
                   {"b", tinted},
                   {"c", icon("<path style=\"fill: #f00 !important\"/><path "
                              "fill=\"currentColor\"/>")},
                   {"d", icon("<style>.x{stroke:none;fill:url(#g)}</style><path "
                              "fill=\"currentColor\"/>")}}
            << QStringList{"3: c"};
        QTest::newRow("colours in a set that is not drawn in currentColor")
            << Set{{"a", icon("<path fill=\"#f00\"/>")}, {"b", icon("<path fill=\"red\"/>")}}
            << QStringList{};
        QTest::newRow("scripts, handlers, HTML, bitmaps and text")
            << Set{{"s", icon("<script>alert(1)</script>")},
                   {"h", icon("<g onclick=\"x()\"/>", "viewBox=\"0 0 16 16\" onload=\"y()\"")},
                   {"f", icon("<foreignObject><div/></foreignObject>")},
                   {"i", icon("<image href=\"a.png\"/>")},
                   {"t", icon("<text>A</text>")},
                   {"n", icon("<svg:script xmlns:svg=\"http://www.w3.org/2000/svg\"/>")}}
            << QStringList{"4: s n", "5: h", "6: f", "7: i", "8: t"};
        QTest::newRow("no viewBox, and a broken file read as far as it goes")
            << Set{{"a", icon("", "width=\"16\" height=\"16\"")},
                   {"b", "<svg viewBox=\"0 0 16 16\"><path id=\"p"},
                   {"c", "not svg at all"}}
            << QStringList{"9: a"};
    }

    void findings() {
        QFETCH(Set, set);
        QFETCH(QStringList, expected);
        QStringList found;
        for (const SetAudit::Finding &finding : SetAudit::audit(set)) {
            found.append(QString::number(int(finding.kind)) + ": " + finding.files.join(' '));
            QVERIFY(!finding.summary.isEmpty());
        }
        QCOMPARE(found, expected);
    }
};

QTEST_GUILESS_MAIN(tst_SetAudit)
#include "tst_setaudit.moc"
