// The find-location dialog with a large store: 10 000 stored locations with
// realistic names (several countries, umlauts, apostrophes).

#include "Bench.h"

#include "findreport/FundortDatenbank.h"
#include "findreport/frmFund.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace bench;

namespace {

struct Land {
    const char* name;
    std::vector<const char*> regionen;
};

const std::vector<Land> laender = {
    {"Deutschland", {"Bayern", "Baden-Württemberg", "Hessen", "Niedersachsen", "Thüringen", "Sachsen", "Brandenburg",
                     "Mecklenburg-Vorpommern", "Nordrhein-Westfalen", "Schleswig-Holstein", "Rheinland-Pfalz", "Saarland"}},
    {"Österreich", {"Tirol", "Kärnten", "Steiermark", "Salzburg", "Vorarlberg", "Niederösterreich", "Oberösterreich"}},
    {"Schweiz", {"Graubünden", "Wallis", "Bern", "Zürich", "Tessin", "St. Gallen", "Appenzell Innerrhoden"}},
    {"Italien", {"Valle d'Aosta", "Abruzzo", "Trentino-Südtirol", "Toscana", "Sardegna"}},
    {"Frankreich", {"Côte-d'Or", "Alpes-de-Haute-Provence", "Bretagne", "Savoie"}},
    {"Spanien", {"Andalucía", "Cataluña", "Asturias"}},
};
const char* const stadtteile[] = {"Sankt ", "Bad ", "Neu", "Alt", "Ober", "Unter", "", "", "", "L'", "Groß", "Klein"};
const char* const stadtstaemme[] = {"münster", "ingen", "Aquila", "hausen", "brück", "feld", "dorf", "Zell", "Äschach",
                                    "Öhringen", "burg", "heim", "Rosenheim", "Ötz", "stein", "Wörth", "tal", "Ürzig"};
const char* const orte[] = {"Moor", "Auwald", "Trockenrasen", "Bachufer", "Kiesgrube", "Steinbruch", "Hochmoor",
                            "Magerwiese", "Monte d'Accoddi", "Alm", "Seeufer", "Buchenwald", "Feuchtwiese", "Düne"};
const char* const autoren[] = {"N. N.", "Anna Müller", "Jürgen Weiß", "Zoë d'Arcy", "Émile Brun", "Björn Öberg",
                               "Maria Huber", "Luca dell'Orto", "Søren Ask", "Ute Schröder"};

// data.db with n rows in one transaction, in a fresh folder.
bool fuellen(const QString& ordner, int n)
{
    QDir(ordner).removeRecursively();
    {
        FundortDatenbank anlegen(QStringLiteral("anlegen"), nullptr, ordner);
        if (!anlegen.oeffnen())
            return false;
    }
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-fuellen"));
        db.setDatabaseName(QDir(ordner).filePath(QStringLiteral("data.db")));
        ok = db.open() && db.transaction();
        QSqlQuery q(db);
        ok = ok && q.prepare(QStringLiteral("INSERT INTO data VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        QRandomGenerator zufall(20261208);
        const QStringList monate = {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August",
                                    "September", "Oktober", "November", "Dezember"};
        for (int i = 0; ok && i < n; ++i) {
            const Land& land = laender[zufall.bounded(int(laender.size()))];
            const QString region = QString::fromUtf8(land.regionen[zufall.bounded(int(land.regionen.size()))]);
            const QString stadt = QString::fromUtf8(stadtteile[zufall.bounded(int(std::size(stadtteile)))])
                                  + QString::fromUtf8(stadtstaemme[zufall.bounded(int(std::size(stadtstaemme)))])
                                  + (zufall.bounded(3) == 0 ? QStringLiteral(" %1").arg(zufall.bounded(20)) : QString());
            const QString ort = QString::fromUtf8(orte[zufall.bounded(int(std::size(orte)))])
                                + QStringLiteral(" %1").arg(zufall.bounded(40));
            q.addBindValue(zufall.bounded(10) == 0 ? QString::fromUtf8(land.name).toLower() : QString::fromUtf8(land.name));
            q.addBindValue(region);
            q.addBindValue(stadt);
            q.addBindValue(ort);
            q.addBindValue(zufall.bounded(4) == 0 ? QStringLiteral("am Rand des Weges, nahe der Brücke") : QString(""));
            q.addBindValue(QString::number(zufall.bounded(3000)));
            q.addBindValue(QStringLiteral("%1. %2 %3").arg(1 + zufall.bounded(28)).arg(monate[zufall.bounded(12)]).arg(2000 + zufall.bounded(27)));
            q.addBindValue(QStringLiteral("Freilandfoto"));
            q.addBindValue(QString::fromUtf8(autoren[zufall.bounded(int(std::size(autoren)))]));
            ok = q.exec();
        }
        ok = ok && db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-fuellen"));
    return ok;
}

} // namespace

ABSCHNITT(fundorte, 70, "find-location dialog with 10 000 stored rows: opening, one cascade pick")
{
    ueberschrift(QStringLiteral("Find-location dialog, 10 000 stored rows"));
    const QString ordner = QDir(umgebung.ordner).filePath(QStringLiteral("fundorte"));
    constexpr int zeilen = 10000;
    if (!fuellen(ordner, zeilen)) {
        uebersprungen(QStringLiteral("could not write %1").arg(ordner));
        return;
    }
    QWidget hauptfenster;
    constexpr int laeufe = 7;
    std::vector<double> oeffnen, bauen, kaskade;
    int laenderAnzahl = 0, staaten = 0, staedte = 0, fundorte = 0;
    for (int i = 0; i <= laeufe; ++i) {
        const auto t0 = Uhr::now();
        frmFund dialog(&hauptfenster, {}, ordner);
        const double tBauen = msSeit(t0);
        dialog.show();
        QApplication::processEvents();
        dialog.repaint();
        const double tOffen = msSeit(t0);
        const auto liste = [&dialog](const char* name) { return dialog.findChild<QComboBox*>(QString::fromLatin1(name)); };
        if (liste("Combo7")->count() != zeilen || liste("Combo7")->currentIndex() != 0) {
            uebersprungen(QStringLiteral("the dialog shows %1 rows").arg(liste("Combo7")->count()));
            return;
        }

        // Entering a new location, then a pick of the second country: states, towns, sites follow.
        dialog.findChild<QPushButton*>(QStringLiteral("Command5"))->click();
        QComboBox* land = liste("Combo1");
        const auto t1 = Uhr::now();
        land->setCurrentIndex(1);
        emit land->activated(1);
        const double tKaskade = msSeit(t1);
        laenderAnzahl = land->count();
        staaten = liste("Combo2")->count();
        staedte = liste("Combo8")->count();
        fundorte = liste("Combo9")->count();
        if (i == 0)
            continue;
        oeffnen.push_back(tOffen);
        bauen.push_back(tBauen);
        kaskade.push_back(tKaskade);
    }
    zeile("data.db: %d rows (made by this section in %s)", zeilen, qPrintable(ordner));
    zeile("opening until the first row is shown and painted: median %.1f ms (load handling %.1f ms; %d runs after one warm-up)",
          median(oeffnen), median(bauen), laeufe);
    zeile("one pick of a country (states -> towns -> sites): median %.2f ms; lists of %d countries, %d states, %d towns, %d sites",
          median(kaskade), laenderAnzahl, staaten, staedte, fundorte);
    zeile("targets: opening < 250 ms, pick < 50 ms");
}
