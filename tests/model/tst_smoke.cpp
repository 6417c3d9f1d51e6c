#include <QtTest>
class SmokeTest : public QObject {
    Q_OBJECT
private slots:
    void builds() { QVERIFY(true); }
};
QTEST_GUILESS_MAIN(SmokeTest)
#include "tst_smoke.moc"
