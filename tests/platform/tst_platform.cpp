#include "platform/SymbolIcons.h"

#include <QApplication>
#include <QImage>
#include <QtTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void symbolIconsDrawSomething_data() {
        QTest::addColumn<QString>("name");
        for (const char *name : {"plus", "minus", "ellipsis.circle", "sidebar.right",
                                 "doc.on.clipboard", "gear", "doc.badge.gearshape",
                                 "arrow.triangle.2.circlepath", "gearshape.2", "no.such.symbol"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    // Every name the windows ask for must come out visible, theme or not, enabled or not: a
    // missing bundled file or an uninitialised resource would otherwise leave blank buttons.
    void symbolIconsDrawSomething() {
        QFETCH(QString, name);
        const QIcon icon = symbolIcon(name);
        QCOMPARE(icon.isNull(), name == "no.such.symbol");
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
            const QImage image = icon.pixmap(QSize(32, 32), mode).toImage();
            int inked = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    inked += qAlpha(image.pixel(x, y)) > 0;
            QVERIFY2(icon.isNull() || inked > 10, qPrintable(name));
        }
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
