#include "fotoschliff_config.h"
#include "hilfe/frmAbout.h"

#include "TestDienste.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QUrlQuery>

namespace {

// The box as the main window opens it, the opener disabled meanwhile. It deletes itself when it closes.
frmAbout* oeffnen(QWidget& hauptfenster)
{
    auto* info = new frmAbout(&hauptfenster);
    hauptfenster.setEnabled(false);
    info->zeigen();
    return info;
}

QString textVon(const QWidget* fenster, const char* name)
{
    auto* l = fenster->findChild<QLabel*>(QString::fromUtf8(name));
    return l ? l->text() : QStringLiteral("<%1 missing>").arg(QString::fromUtf8(name));
}

} // namespace

class TestInfo : public QObject {
    Q_OBJECT
private slots:
    void mailLinkWieGebaut()
    {
        QCOMPARE(mailNachricht(QStringLiteral("Erika Muster")),
                 QStringLiteral("Hallo Erika Muster,\r\nDas wollte ich schon immer mal loswerden: \r\n"));
        QCOMPARE(mailLinkText(QStringLiteral("post@example.org"), QStringLiteral("Fotoschliff fürs Flattrium"),
                              mailNachricht(QStringLiteral("Erika Muster"))),
                 QStringLiteral("mailto:post@example.org?Subject=Fotoschliff fürs Flattrium"
                                "&body=Hallo Erika Muster,%0D%0ADas wollte ich schon immer mal loswerden: %0D%0A"));
        // Without a subject there is no "?Subject="; a blank message adds no body.
        QCOMPARE(mailLinkText(QStringLiteral("post@example.org"), QString(), QStringLiteral("Hallo")),
                 QStringLiteral("mailto:post@example.org&body=Hallo"));
        QCOMPARE(mailLinkText(QStringLiteral("post@example.org"), QStringLiteral("Frage"), QStringLiteral(" \r\n ")),
                 QStringLiteral("mailto:post@example.org?Subject=Frage"));
    }

    void infoFensterUndLinks()
    {
        TestDienste dienste;
        QWidget hauptfenster;
        hauptfenster.show();
        QPointer<frmAbout> info = oeffnen(hauptfenster);
        QVERIFY(QTest::qWaitForWindowExposed(info));
        QVERIFY(info->isEnabled());
        QCOMPARE(info->windowTitle(), QStringLiteral("Info zu Fotoschliff"));
        QVERIFY(!info->windowIcon().isNull());
        QCOMPARE(textVon(info, "lblTitle"), QStringLiteral("Fotoschliff"));
        QCOMPARE(textVon(info, "lblVersion"), QStringLiteral("Version %1.%2.%3")
                                                  .arg(FOTOSCHLIFF_VERSION_MAJOR)
                                                  .arg(FOTOSCHLIFF_VERSION_MINOR)
                                                  .arg(FOTOSCHLIFF_VERSION_PATCH));
        QVERIFY(QRegularExpression(QStringLiteral("^Version (0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)$"))
                    .match(textVon(info, "lblVersion"))
                    .hasMatch());
        QCOMPARE(textVon(info, "lblDescription"), QStringLiteral("JPEG-Bilder für die Veröffentlichung im Flattrium vorbereiten."));
        QCOMPARE(textVon(info, "lblDisclaimer"),
                 QStringLiteral("Für konstruktive Kritik, Anregungen und natürlich auch Lob bin ich dankbar. "
                                "Nehmen Sie Kontakt mit mir auf."));
        QCOMPARE(textVon(info, "Label1(0)"), QStringLiteral("Mail"));
        QCOMPARE(textVon(info, "Label1(1)"), QStringLiteral("Internet"));
        QCOMPARE(info->findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
        auto* symbol = info->findChild<QLabel*>(QStringLiteral("picIcon"));
        QVERIFY(symbol);
        QCOMPARE(symbol->pixmap().size(), QSize(64, 64));
        QVERIFY(qAlpha(symbol->pixmap().toImage().pixel(32, 32)) > 200);

        // Every text whole inside the box.
        for (QLabel* l : info->findChildren<QLabel*>()) {
            QVERIFY2(info->rect().contains(l->geometry()), qPrintable(l->objectName()));
            if (l->text().isEmpty())
                continue;
            const QRect noetig = QFontMetrics(l->font()).boundingRect(QRect(0, 0, l->width(), 1000),
                                                                      l->wordWrap() ? Qt::TextWordWrap : 0, l->text());
            QVERIFY2(noetig.width() <= l->width() && noetig.height() <= l->height(), qPrintable(l->objectName()));
        }

        // The mail link as the mail program gets it.
        QTest::mouseClick(info->findChild<QLabel*>(QStringLiteral("Label1(0)")), Qt::LeftButton);
        QCOMPARE(dienste.urls.size(), 1);
        const QUrl mail = dienste.urls[0];
        QCOMPARE(mail.toString(QUrl::FullyEncoded),
                 QStringLiteral("mailto:" FOTOSCHLIFF_KONTAKT_MAIL "?Subject=Fotoschliff%20f%C3%BCrs%20Flattrium&body=Hallo%20")
                     + QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral(FOTOSCHLIFF_MACHER_NAME)))
                     + QStringLiteral(",%0D%0ADas%20wollte%20ich%20schon%20immer%20mal%20loswerden:%20%0D%0A"));
        QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
        QCOMPARE(mail.path(), QStringLiteral(FOTOSCHLIFF_KONTAKT_MAIL));
        const QUrlQuery abfrage(mail);
        QCOMPARE(abfrage.queryItemValue(QStringLiteral("Subject"), QUrl::FullyDecoded), QStringLiteral("Fotoschliff fürs Flattrium"));
        QCOMPARE(abfrage.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
                 QStringLiteral("Hallo " FOTOSCHLIFF_MACHER_NAME ",\r\nDas wollte ich schon immer mal loswerden: \r\n"));

        QTest::mouseClick(info->findChild<QLabel*>(QStringLiteral("Label1(1)")), Qt::LeftButton);
        QCOMPARE(dienste.urls.size(), 2);
        QCOMPARE(dienste.urls[1].toString(), QStringLiteral(FOTOSCHLIFF_WEBSEITE));
        QVERIFY(info->isVisible()); // the links leave the box open

        QTest::mouseClick(info->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QTRY_VERIFY(!info);
        QVERIFY(hauptfenster.isEnabled());
    }

    void jedesSchliessenGibtDasHauptfensterFrei()
    {
        QWidget hauptfenster;
        hauptfenster.show();
        QPointer<frmAbout> info = oeffnen(hauptfenster);
        QVERIFY(info->close());
        QTRY_VERIFY(!info);
        QVERIFY(hauptfenster.isEnabled());

        info = oeffnen(hauptfenster);
        QTest::keyClick(info->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::Key_Escape);
        QTRY_VERIFY(!info);
        QVERIFY(hauptfenster.isEnabled());
    }
};

QTEST_MAIN(TestInfo)
#include "test_info.moc"
