#include "settings/Einstellungsstand.h"

#include "platform/Zahlen.h"
#include "settings/Listeneintraege.h"

#include <QDir>

namespace {

// A list's selection as a list takes it: an index without an entry selects nothing.
int gueltig(int index, const QStringList& eintraege) { return index >= -1 && index < eintraege.size() ? index : -1; }

} // namespace

void Einstellungsstand::laden(const SettingsRecord& d, const QString& anhang, bool einfacheKodierung)
{
    Anzeige& a = m_anzeige;
    a.chkEinfacheKodierung = einfacheKodierung;

    // The lists as on the main window, the sizes for 3 : 2; nothing selected yet.
    m_verhaeltnisB = 3;
    m_verhaeltnisH = 2;
    a.List1 = listen::groessenEintraege(m_verhaeltnisB, m_verhaeltnisH);
    a.Combo1 = listen::seitenverhaeltnisEintraege();
    a.oColor = listen::farbEintraege();
    a.Combo1Index = a.oColorIndex = a.List1Index = -1;

    a.Text1 = d.laden;
    a.Text2 = d.speichern;

    // The ratio rebuilds the sizes, so it comes first.
    verhaeltnisWaehlen(d.rahmen);
    farbeGewaehlt(d.farbe);
    groesseWaehlen(d.Format);

    // A custom size shows the stored height, even where the ratio would give another.
    if (a.List1Index == 0) {
        breiteSetzen(zahlen::Kurz(d.breite));
        hoeheSetzen(zahlen::Kurz(d.hoehe));
    }

    qualitaetSetzen(zahlen::Kurz(d.kompression));
    a.UpDown2 = int(zahlen::RundeGerade(d.kompression));
    ++a.UpDown2Gesetzt;

    erinnerungSetzen(Erinnerung::Fundort, d.fundortmeldung);
    erinnerungSetzen(Erinnerung::Start, d.startmeldung);

    // Choosing the option that is chosen already is no click.
    if (d.vorschlag >= 0 && d.vorschlag < 3 && d.vorschlag != a.Option1)
        vorschlagGewaehlt(d.vorschlag);
    a.Text3 = anhang;
    if (d.vorschlag == 2)
        a.Text3Aktiv = true;
}

void Einstellungsstand::verhaeltnisGewaehlt(int index) { verhaeltnisWaehlen(index); }

void Einstellungsstand::verhaeltnisWaehlen(int index)
{
    index = gueltig(index, m_anzeige.Combo1);
    if (index == m_anzeige.Combo1Index)
        return;
    m_anzeige.Combo1Index = index;
    // An index without a ratio keeps the parts; the sizes are built anew all the same.
    if (const auto* v = listen::seitenverhaeltnis(index)) {
        m_verhaeltnisB = v->breite;
        m_verhaeltnisH = v->hoehe;
    }
    m_anzeige.List1 = listen::groessenEintraege(m_verhaeltnisB, m_verhaeltnisH);
    m_anzeige.List1Index = -1;
    groesseWaehlen(4);
}

void Einstellungsstand::farbeGewaehlt(int index) { m_anzeige.oColorIndex = gueltig(index, m_anzeige.oColor); }

void Einstellungsstand::groesseGewaehlt(int index) { groesseWaehlen(index); }

void Einstellungsstand::groesseWaehlen(int index)
{
    Anzeige& a = m_anzeige;
    index = gueltig(index, a.List1);
    if (index == a.List1Index)
        return;
    a.List1Index = index;
    a.eigeneGroesse = index == 0;
    if (index <= 0)
        return;
    // The preset's width, as its entry shows it.
    const double breite = double(m_verhaeltnisB * float(listen::groessenFaktor(index)));
    breiteSetzen(zahlen::Kurz(breite));
    a.UpDown1 = int(zahlen::RundeGerade(breite));
    ++a.UpDown1Gesetzt;
}

void Einstellungsstand::breiteGetippt(const QString& text) { breiteSetzen(text); }

void Einstellungsstand::breiteSetzen(const QString& text)
{
    m_anzeige.TextB = text;
    m_breite = zahlen::Val(text);
    hoeheSetzen(zahlen::Kurz(listen::hoeheZurBreite(m_breite, m_verhaeltnisB, m_verhaeltnisH)));
}

void Einstellungsstand::hoeheGetippt(const QString& text) { hoeheSetzen(text); }

void Einstellungsstand::hoeheSetzen(const QString& text)
{
    m_anzeige.TextH = text;
    m_hoehe = zahlen::Val(text);
}

void Einstellungsstand::qualitaetGetippt(const QString& text) { qualitaetSetzen(text); }

void Einstellungsstand::qualitaetSetzen(const QString& text)
{
    m_anzeige.TextKomp = text;
    m_kompression = zahlen::Val(text);
}

void Einstellungsstand::ordnerGetippt(Ordner ordner, const QString& text)
{
    (ordner == Ordner::Laden ? m_anzeige.Text1 : m_anzeige.Text2) = text;
}

void Einstellungsstand::ordnerGewaehlt(Ordner ordner, const QString& gewaehlt)
{
    if (!gewaehlt.isEmpty())
        ordnerGetippt(ordner, gewaehlt);
}

const QString& Einstellungsstand::ordner(Ordner ordner) const
{
    return ordner == Ordner::Laden ? m_anzeige.Text1 : m_anzeige.Text2;
}

QString Einstellungsstand::ordnerTitel(Ordner ordner)
{
    return ordner == Ordner::Laden ? QStringLiteral("Standardordner für DATEI LADEN")
                                   : QStringLiteral("Standardordner für DATEI SPEICHERN");
}

void Einstellungsstand::anhangGetippt(const QString& text) { m_anzeige.Text3 = text; }

void Einstellungsstand::vorschlagGewaehlt(int index)
{
    m_anzeige.Option1 = index;
    m_anzeige.Text3Aktiv = index == 2;
}

void Einstellungsstand::erinnerungGeklickt(Erinnerung erinnerung, Qt::CheckState haken)
{
    const bool fundort = erinnerung == Erinnerung::Fundort;
    (fundort ? m_anzeige.Check1 : m_anzeige.Check2) = haken;
    // The boxes say "no more reminders"; the greyed state changes nothing.
    if (haken == Qt::PartiallyChecked)
        return;
    (fundort ? m_fundortmeldungAn : m_startmeldungAn) = haken == Qt::Unchecked;
}

void Einstellungsstand::erinnerungSetzen(Erinnerung erinnerung, bool an)
{
    erinnerungGeklickt(erinnerung, an ? Qt::Unchecked : Qt::Checked);
}

void Einstellungsstand::einfacheKodierungGeklickt(bool an) { m_anzeige.chkEinfacheKodierung = an; }

void Einstellungsstand::standardeinstellungen()
{
    const SettingsRecord vorgabe;
    // At 3:2 already, only the size list's own handling puts 600 x 400 back.
    verhaeltnisWaehlen(vorgabe.rahmen);
    groesseWaehlen(vorgabe.Format);
    farbeGewaehlt(vorgabe.farbe);
    qualitaetSetzen(zahlen::Kurz(vorgabe.kompression));
    m_anzeige.UpDown2 = int(zahlen::RundeGerade(vorgabe.kompression));
    ++m_anzeige.UpDown2Gesetzt;
    erinnerungSetzen(Erinnerung::Fundort, vorgabe.fundortmeldung);
    erinnerungSetzen(Erinnerung::Start, vorgabe.startmeldung);
    m_anzeige.chkEinfacheKodierung = false;
}

SettingsRecord Einstellungsstand::datensatz(int bisherigerVorschlag) const
{
    const Anzeige& a = m_anzeige;
    SettingsRecord neu;
    neu.laden = a.Text1;
    neu.speichern = a.Text2;
    neu.rahmen = a.Combo1Index;
    neu.farbe = a.oColorIndex;
    neu.Format = a.List1Index;
    neu.breite = m_breite;
    neu.hoehe = m_hoehe;
    neu.kompression = m_kompression;
    neu.fundortmeldung = m_fundortmeldungAn;
    neu.startmeldung = m_startmeldungAn;
    neu.dateiname = a.Text3;
    neu.vorschlag = a.Option1 >= 0 ? a.Option1 : bisherigerVorschlag;
    return neu;
}

QString Einstellungsstand::meldungNochUnlesbar(const QString& datei, const QString& grund)
{
    return QStringLiteral("Die Einstellungen wurden nicht gespeichert.\r\n\r\nDie Einstellungsdatei „%1“ ließ sich beim "
                          "Start nicht lesen und lässt sich noch immer nicht lesen. %2 Damit die dort gespeicherten "
                          "Einstellungen nicht durch die Standardeinstellungen ersetzt werden, schreibt Fotoschliff "
                          "nichts hinein.")
        .arg(QDir::toNativeSeparators(datei), grund);
}

QString Einstellungsstand::meldungJetztGelesen(const QString& datei)
{
    return QStringLiteral("Die Einstellungsdatei „%1“ ließ sich beim Start nicht lesen, jetzt aber schon. Dieser Dialog zeigt "
                          "nun die gespeicherten Einstellungen; bitte prüfen Sie sie und klicken Sie dann erneut auf „OK“.")
        .arg(QDir::toNativeSeparators(datei));
}

QString Einstellungsstand::meldungNichtGespeichert(const QString& datei)
{
    return QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\r\n\r\n"
                          "Die bisher gespeicherten Einstellungen bleiben unverändert. Bitte prüfen Sie, ob die Datei "
                          "„%1“ beschreibbar ist und von keinem anderen Programm benutzt wird, und versuchen Sie es erneut.")
        .arg(QDir::toNativeSeparators(datei));
}
