#include "app/Form1.h"
#include "hilfe/Form3.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"
#include "settings/SettingsStore.h"

#include "Fensterhilfe.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

using namespace fensterhilfe;

class TestHauptfenster : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testUmgebungEinrichten(); }
    void init() { QDir(datenOrdner()).removeRecursively(); }

    void listenNachDemStart()
    {
        TestDienste dienste;
        Form1 f;
        auto* combo1 = finde<Liste>(f, "Combo1");
        auto* farben = finde<Liste>(f, "oColor");
        auto* list1 = finde<Liste>(f, "List1");
        QVERIFY(combo1 && farben && list1);

        QStringList verhaeltnisse;
        for (int i = 0; i < combo1->count(); ++i)
            verhaeltnisse << combo1->itemText(i);
        QCOMPARE(verhaeltnisse, QStringList({"3:2 (Quer)", "2:3 (Hoch)", "4:3 (Quer)", "3:4 (Hoch)", "16:9 (Quer)", "9:16 (Hoch)"}));
        QCOMPARE(combo1->ListIndex(), 0);

        QStringList farbNamen;
        for (int i = 0; i < farben->count(); ++i)
            farbNamen << farben->itemText(i);
        QCOMPARE(farbNamen, QStringList({" weiß ", " schwarz ", " gelb ", " rot ", " grün ", " blau ", " cyan ", " magenta "}));
        QCOMPARE(farben->ListIndex(), 0);

        QStringList groessen;
        for (int i = 0; i < list1->count(); ++i)
            groessen << list1->itemText(i);
        QCOMPARE(groessen, QStringList({"benutzerdefiniert", "60 x 40", "90 x 60", "120 x 80", "600 x 400", "900 x 600", "1200 x 800"}));
        QCOMPARE(list1->ListIndex(), 4);
        QCOMPARE(list1->currentText(), QStringLiteral("600 x 400"));
        QCOMPARE(finde<QLineEdit>(f, "TextB")->text(), QStringLiteral("600"));
        QCOMPARE(finde<QLineEdit>(f, "TextKomp")->text(), QStringLiteral("92"));
        QCOMPARE(finde<UpDown>(f, "UpDown2")->Value(), 92);
    }

    void zustaendeNachDemStart()
    {
        TestDienste dienste;
        Form1 f;
        for (const char* name : {"cmdÖffnen", "Combo1", "oColor", "List1", "TextKomp", "UpDown2", "Command5", "Command6",
                                 "lblKontakt"}) {
            auto* w = finde<QWidget>(f, name);
            QVERIFY2(w && w->isEnabled(), name);
        }
        for (int i = 0; i < 15; ++i) {
            auto* w = finde<QPushButton>(f, QStringLiteral("Command4(%1)").arg(i));
            QVERIFY(w);
            QVERIFY(w->isEnabled());
            QCOMPARE(w->text(), QStringLiteral("?"));
        }
        for (const char* name : {"TextB", "TextH", "Command7", "Command1", "Command2", "Command3"}) {
            auto* w = finde<QWidget>(f, name);
            QVERIFY2(w && !w->isEnabled(), name);
        }
        for (const char* name : {"picZiel", "picQuelle", "picTemp", "picPreview", "lblJpgQuality", "lblJpgFileSize",
                                 "lblZ", "Frame1", "Frame2"}) {
            auto* w = finde<QWidget>(f, name);
            QVERIFY2(w && w->isHidden(), name);
        }
        for (const char* name : {"Shape1", "LO", "RO", "LU", "RU"}) {
            QObject* o = f.findChild<QObject*>(QString::fromUtf8(name));
            QVERIFY2(o && !o->property("Visible").toBool(), name);
        }
        for (const char* name : {"LO", "RO", "LU", "RU"}) {
            QObject* o = f.findChild<QObject*>(QString::fromUtf8(name));
            QCOMPARE(o->property("Width").toFloat(), 6.0f);
            QCOMPARE(o->property("Height").toFloat(), 6.0f);
        }
        QVERIFY(f.findChild<QObject*>(QStringLiteral("Shape2")));
        QCOMPARE(finde<QLineEdit>(f, "Text1")->text(), QStringLiteral("Keine Bilddatei ausgewählt"));
        QCOMPARE(finde<QLabel>(f, "lblAnsicht")->text(), QStringLiteral("automatisch"));
        QCOMPARE(finde<QLabel>(f, "lblA")->text(), QString());
        QCOMPARE(finde<QLabel>(f, "lblJpgQuality")->text(), QString());
        QCOMPARE(finde<QLabel>(f, "lblJpgFileSize")->text(), QString());
        QCOMPARE(finde<QRadioButton>(f, "optGroesse(0)")->text(), QStringLiteral("Originalgröße"));
        QCOMPARE(finde<QRadioButton>(f, "optGroesse(1)")->text(), QStringLiteral("Proportional"));
        QCOMPARE(statusLicht(f), 1);
        auto* timer = finde<QTimer>(f, "Timer1");
        QVERIFY(timer && !timer->isActive());
        QCOMPARE(timer->interval(), 100);
    }

    void beschriftungenUndPositionen()
    {
        // Without the start message the window stays hidden, at its design size.
        QVERIFY(einstellungenSchreiben(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 0, '_web', 2")));
        TestDienste dienste;
        Form1 f;
        const auto rahmen = [&](const char* name, const QString& titel, QRect ort) {
            auto* r = finde<QGroupBox>(f, name);
            QVERIFY2(r, name);
            QCOMPARE(r->title(), titel);
            QCOMPARE(r->geometry(), ort);
        };
        rahmen("Frame9", "1. Bilddatei laden", QRect(8, 8, 201, 49));
        rahmen("Frame6", "2. Auswahlrahmen festlegen", QRect(8, 64, 201, 49));
        rahmen("Frame7", "3. Zielformat festlegen", QRect(8, 120, 201, 81));
        rahmen("Frame4", "4. Auswahlrahmen ziehen", QRect(8, 208, 201, 89));
        rahmen("Frame3", "5. Kompression regeln", QRect(8, 304, 201, 65));
        rahmen("Frame5", "6. Zuschneiden/Speichern", QRect(8, 376, 201, 73));
        rahmen("Frame8", "7. Veröffentlichen", QRect(8, 456, 201, 65));
        rahmen("fraEinstellungen", "Extras", QRect(8, 624, 201, 105));
        rahmen("Frame10", "Bilddaten", QRect(216, 8, 833, 129));
        QCOMPARE(finde<QWidget>(f, "fraTisch")->geometry(), QRect(216, 144, 833, 537));
        auto* ziel = finde<BildFlaeche>(f, "picZiel");
        QCOMPARE(ziel->Left(), 216.0f);
        QCOMPARE(ziel->Top(), 144.0f);
        QCOMPARE(ziel->Width(), 781.0f);
        QCOMPARE(ziel->Height(), 524.0f);

        const auto knopf = [&](const char* name, const QString& text) {
            auto* k = finde<QPushButton>(f, name);
            QVERIFY2(k, name);
            QCOMPARE(k->text(), text);
        };
        knopf("cmdÖffnen", "Datei öffnen...");
        knopf("Command7", "ganzes Bild auswählen");
        knopf("Command1", "Zuschneiden");
        knopf("Command2", "Speichern unter ...");
        knopf("Command3", "Dateipfad kopieren und Flattrium starten");
        knopf("Command5", "bevorzugte Starteinstellungen...");
        knopf("Command6", "Fundortzusammenstellung...");
        QCOMPARE(finde<QLabel>(f, "lblKontakt")->text(), QStringLiteral("Info"));
        QCOMPARE(finde<QLineEdit>(f, "TextKomp")->text(), QStringLiteral("92"));

        auto* strip = finde<QGroupBox>(f, "Frame10");
        // Every label of the strip stands exactly at its row's top.
        const auto zeile = [&](const char* name, int links, int oben, int breite = 0) {
            auto* l = finde<QWidget>(*strip, name);
            QVERIFY2(l, name);
            QCOMPARE(l->pos(), QPoint(links, oben));
            if (breite)
                QCOMPARE(l->width(), breite);
        };
        const std::pair<const char*, QPoint> beschriftungen[] = {
            {"Quelle:", {16, 13}},       {"Dateipfad:", {64, 13}},  {"Ansicht: ", {624, 13}},
            {"Abmessungen:", {64, 32}},  {"Dateigröße:", {64, 48}}, {"Ziel:", {16, 72}},
            {"Abmessungen:", {64, 72}},  {"Dateigröße:", {64, 88}}, {"Auswahlbereich:", {64, 104}}};
        for (const auto& [text, ort] : beschriftungen) {
            bool gefunden = false;
            for (QLabel* l : strip->findChildren<QLabel*>())
                gefunden = gefunden || (l->text() == QString::fromUtf8(text) && l->pos() == ort);
            QVERIFY2(gefunden, text);
        }
        zeile("Text1", 152, 13, 385);
        zeile("lblQ", 152, 32, 81);
        zeile("lblQprüf", 240, 32, 105);
        zeile("lblQKB", 152, 48, 81);
        zeile("lblQprüf1", 240, 48, 105);
        zeile("lblQMaßnahme", 376, 48, 449);
        zeile("lblZpx", 152, 72, 81);
        zeile("lblPrüf", 240, 72, 105);
        zeile("lblZMaßnahme", 376, 72, 449);
        zeile("lblZkb", 152, 88, 81);
        zeile("lblPrüf2", 240, 88, 105);
        zeile("lblZMaßnahme2", 376, 88, 449);
        zeile("lblA", 152, 104, 81);
        zeile("lblPrüf1", 240, 104, 105);
        zeile("lblZMaßnahme1", 376, 104, 449);
        zeile("lblAnsicht", 680, 13, 120);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(finde<QWidget>(*strip, QStringLiteral("Command4(%1)").arg(i))->pos(), QPoint(348, QList{46, 70, 86, 102}[i]));
    }

    void alleBeschriftungenPassenBeiDesigngroesse()
    {
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        // The longest texts the read-outs will ever show must fit as well.
        finde<QLabel>(f, "lblZMaßnahme1")
            ->setText(QStringLiteral("Maßnahme: 4. Auswahlrahmen größer ziehen oder 3. Zielformat verringern"));
        finde<QLabel>(f, "lblZMaßnahme2")
            ->setText(QStringLiteral("Maßnahme: 5. Kompressionsrate senken bis Dateigröße < 100 KB"));
        finde<QLabel>(f, "lblPrüf1")->setText(QStringLiteral("Auswahl zu klein"));
        finde<QLabel>(f, "lblQ")->setText(QStringLiteral("10000 x 10000"));
        finde<QLabel>(f, "lblZkb")->setText(QStringLiteral("1023,9 KB"));
        finde<QLabel>(f, "lblAnsicht")->setText(QStringLiteral("Originalgröße"));

        for (QWidget* w : f.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&f))
                continue;
            const QFontMetrics m(w->font());
            if (auto* r = qobject_cast<QGroupBox*>(w)) {
                QVERIFY2(m.horizontalAdvance(r->title()) + 16 <= r->width(), qPrintable(r->title()));
            } else if (auto* k = qobject_cast<UmbruchKnopf*>(w)) {
                const QRect noetig = m.boundingRect(QRect(0, 0, k->width() - 8, 1000), Qt::TextWordWrap, k->text());
                QVERIFY2(noetig.width() <= k->width() - 8 && noetig.height() <= k->height() - 4, qPrintable(k->text()));
            } else if (auto* k = qobject_cast<QPushButton*>(w)) {
                QVERIFY2(m.horizontalAdvance(k->text()) + 8 <= k->width(), qPrintable(k->text()));
                QVERIFY2(m.height() <= k->height(), qPrintable(k->text()));
            } else if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) {
                const QRect noetig = m.boundingRect(QRect(0, 0, l->width(), 1000), l->wordWrap() ? Qt::TextWordWrap : 0, l->text());
                QVERIFY2(noetig.width() <= l->width(), qPrintable(l->text()));
                QVERIFY2(noetig.height() <= l->height(), qPrintable(l->text()));
            } else if (auto* c = qobject_cast<Liste*>(w)) {
                // The combo's own size hint makes room for its longest entry, arrow and frame.
                QVERIFY2(c->sizeHint().width() <= c->width(), qPrintable(c->objectName() + QString::number(c->sizeHint().width())));
            }
        }
    }

    void groessenaenderungNachDerRegel()
    {
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto* tisch = finde<QWidget>(f, "fraTisch");
        auto* extras = finde<QWidget>(f, "fraEinstellungen");
        auto* ziel = finde<BildFlaeche>(f, "picZiel");
        // Showing the window applies the rule once.
        QCOMPARE(tisch->size(), QSize(f.width() - 216 - 10, f.height() - 144 - 10));
        QCOMPARE(extras->y(), f.height() - 10 - 105);

        const QSize tischVorher = tisch->size();
        const QPoint extrasVorher = extras->pos();
        const QRect zielVorher = ziel->geometry();
        const QRect strip = finde<QWidget>(f, "Frame10")->geometry();
        f.resize(f.width() + 100, f.height() + 50);
        QTRY_COMPARE(tisch->size(), tischVorher + QSize(100, 50));
        QCOMPARE(extras->pos(), extrasVorher + QPoint(0, 50));
        QCOMPARE(ziel->geometry(), zielVorher);
        QCOMPARE(finde<QWidget>(f, "Frame10")->geometry(), strip);
        QCOMPARE(finde<QWidget>(f, "Frame8")->geometry(), QRect(8, 456, 201, 65));
        QVERIFY(f.minimumWidth() > 216 && f.minimumHeight() >= 624);
    }

    void startmeldungBeiTrue()
    {
        QVERIFY(einstellungenSchreiben(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 1, '_web', 2")));
        TestDienste dienste;
        Form1 f;
        Form3* hilfe = f.hilfe();
        QVERIFY(hilfe);
        QVERIFY(hilfe->isVisible());
        QVERIFY(f.isVisible());
        QVERIFY(f.isEnabled());
        QCOMPARE(hilfe->windowTitle(), QStringLiteral("Hilfe"));
        QCOMPARE(hilfe->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Eignung eines Bildes zur Veröffentlichung im Flattrium"));
        const QString text = hilfe->findChild<QLabel*>(QStringLiteral("Label2"))->text();
        QVERIFY(text.startsWith(QStringLiteral(
            "Eine Bilddatei, die im Flattrium veröffentlicht werden soll, sollte folgende Kriterien erfüllen:\r\n\r\n"
            "1. Das Seitenverhältnis zwischen Breite und Höhe sollte 3 : 2 betragen.\r\n2. Das Motiv")));
        QVERIFY(text.contains(QStringLiteral("mit Schritt 7 (Veröffentlichen) weitermachen. Dabei wird")));
        QVERIFY(text.contains(QStringLiteral("einfügen können, ohne sich durch den Durchsuchen-Dialog klicken zu müssen.\r\n\r\nIst die")));
        QVERIFY(text.contains(QStringLiteral("bearbeiten müssen. Dafür haben Sie ja dieses Programm eigentlich auch gestartet...\r\n"
                                             "Wenn Sie die Standardeinstellungen nicht geändert haben, machen Sie")));
        QVERIFY(text.endsWith(QStringLiteral("weiter mit Schritt 4 (Auswahlrahmen aufziehen).")));
        QCOMPARE(text.size(), 1013);
        QVERIFY(hilfe->findChild<QLabel*>(QStringLiteral("Label2"))->wordWrap());
        QCOMPARE(hilfe->findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("Schließen"));

        QTest::mouseClick(hilfe->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QTRY_VERIFY(!f.hilfe());
        QVERIFY(f.isEnabled());
    }

    void keineStartmeldungBeiFalseOderNull_data()
    {
        QTest::addColumn<QString>("wert");
        QTest::newRow("False") << "0";
        QTest::newRow("Null") << "NULL";
    }
    void keineStartmeldungBeiFalseOderNull()
    {
        QFETCH(QString, wert);
        QVERIFY(einstellungenSchreiben(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, %1, '_web', 2").arg(wert)));
        TestDienste dienste;
        Form1 f;
        QVERIFY(!f.hilfe());
        const auto fenster = QApplication::topLevelWidgets();
        for (QWidget* w : fenster)
            QVERIFY(!(qobject_cast<Form3*>(w) && w->isVisible()));
    }

    void datenLadenMitEigenerBreite()
    {
        QVERIFY(einstellungenSchreiben(QStringLiteral("'/a', '/b', 0, 2, 0, 750, 500, 92.5, 1, 0, '_lf', 1")));
        TestDienste dienste;
        Form1 f;
        QCOMPARE(finde<Liste>(f, "List1")->ListIndex(), 0);
        QCOMPARE(finde<QLineEdit>(f, "TextB")->text(), QStringLiteral("750"));
        QVERIFY(finde<QLineEdit>(f, "TextB")->isEnabled());
        QCOMPARE(finde<QLineEdit>(f, "TextKomp")->text(), QStringLiteral("92.5"));
        QCOMPARE(finde<UpDown>(f, "UpDown2")->Value(), 92);
        QCOMPARE(finde<Liste>(f, "oColor")->ListIndex(), 2);
        QCOMPARE(f.stand().vorgaben().pfadLaden, QStringLiteral("/a"));
        QCOMPARE(f.stand().vorgaben().pfadSpeichern, QStringLiteral("/b"));
        QCOMPARE(f.stand().vorgaben().anhang, QStringLiteral("_lf"));
        QCOMPARE(f.stand().vorgaben().vorschlag, qint16(1));
        QCOMPARE(f.findChild<QObject*>(QStringLiteral("Shape1"))->property("BorderColor").value<QColor>(), QColor(0xFFFF00));
        QCOMPARE(f.findChild<QObject*>(QStringLiteral("RU"))->property("FillColor").value<QColor>(), QColor(0xFFFF00));
    }

    void ersterStartOhneDatei()
    {
        QVERIFY(!QFile::exists(QDir(datenOrdner()).filePath(QStringLiteral("set.db"))));
        TestDienste dienste;
        Form1 f;
        QVERIFY(QFile::exists(QDir(datenOrdner()).filePath(QStringLiteral("set.db"))));
        QVERIFY(f.hilfe()); // the default shows the start message
        QCOMPARE(f.stand().vorgaben().anhang, QStringLiteral("_web"));
        QCOMPARE(f.stand().vorgaben().vorschlag, qint16(2));
        QVERIFY(dienste.meldungen.isEmpty());
    }

    void beschaedigteDateiStartetMitVorgaben()
    {
        QDir().mkpath(datenOrdner());
        const QString pfad = QDir(datenOrdner()).filePath(QStringLiteral("set.db"));
        {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(3000, '\x7f'));
        }
        TestDienste dienste;
        Form1 f;
        QCOMPARE(dienste.meldungen.size(), 1);
        QVERIFY(QFile::exists(pfad + QStringLiteral(".defekt")));
        QCOMPARE(QFileInfo(pfad + QStringLiteral(".defekt")).size(), qint64(3000));
        QCOMPARE(finde<Liste>(f, "List1")->currentText(), QStringLiteral("600 x 400"));
    }

    void pfadfeldTooltipFolgtText()
    {
        TestDienste dienste;
        Form1 f;
        auto* text1 = finde<QLineEdit>(f, "Text1");
        const QString lang = QStringLiteral("/home/naturfreund/Bilder/2026/Exkursionen/Schwäbische Alb/Schmetterlinge/"
                                            "Aurorafalter/IMG_20260512_101523_Aurorafalter_auf_Wiesenschaumkraut.jpg");
        text1->setText(lang);
        QCOMPARE(text1->toolTip(), lang);
    }

    void programmsymbol()
    {
        TestDienste dienste;
        Form1 f;
        const QImage bild = f.windowIcon().pixmap(32, 32).toImage();
        QVERIFY(!bild.isNull());
        QCOMPARE(bild.size(), QSize(32, 32));
        // Drawn, not blank: the frame's wood at the left edge, transparent corners.
        QCOMPARE(qAlpha(bild.pixel(16, 1)), 0);
        QVERIFY(qAlpha(bild.pixel(3, 16)) > 200);
    }

    void schliessenOhneFrage()
    {
        TestDienste dienste;
        auto* f = new Form1;
        f->show();
        QPointer<Form3> hilfe = f->hilfe();
        QVERIFY(hilfe);
        QVERIFY(f->close());
        QVERIFY(dienste.meldungen.isEmpty());
        QTRY_VERIFY(!hilfe || !hilfe->isVisible());
        delete f;
        QVERIFY(!hilfe);
    }
};

QTEST_MAIN(TestHauptfenster)
#include "test_hauptfenster.moc"
