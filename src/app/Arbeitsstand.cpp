#include "app/Arbeitsstand.h"

#include "codec/Bildladen.h"
#include "output/Bewertung.h"
#include "output/Zielformat.h"
#include "platform/Zahlen.h"
#include "settings/Listeneintraege.h"
#include "settings/SettingsRecord.h"

#include <algorithm>

#include <sys/stat.h>

namespace {

using Farbe = Arbeitsstand::Farbe;

// Verdicts are green when they pass, red otherwise (also an empty one).
Farbe farbe(bool ok) { return ok ? Farbe::Gruen : Farbe::Rot; }

// A list's selection as a list takes it: an index without an entry selects nothing.
int gueltig(int index, qsizetype eintraege) { return index >= -1 && index < eintraege ? index : -1; }

} // namespace

Arbeitsstand::Arbeitsstand(Rueckmeldung rueckmeldung)
    : m_rueckmeldung(std::move(rueckmeldung))
{
}

Arbeitsstand::Anzeige Arbeitsstand::anzeige() const
{
    Anzeige a;
    a.Text1 = m_dateiPfad.isEmpty() ? QStringLiteral("Keine Bilddatei ausgewählt") : m_dateiPfad;
    if (m_quellMasse)
        a.lblQ = zahlen::Kurz(double(m_quellMasse->width())) + QStringLiteral(" x ") + zahlen::Kurz(double(m_quellMasse->height()));
    if (m_quelleBytes)
        a.lblQKB = GroessenText(*m_quelleBytes);
    if (m_quellUrteil) {
        const bewertung::Quelle& q = *m_quellUrteil;
        a.lblQpruef = q.masse;
        a.lblQpruef1 = q.groesse;
        a.lblQpruefFarbe = farbe(q.masseOk);
        a.lblQpruef1Farbe = farbe(q.groesseOk);
        a.lblQMassnahme = q.geeignet() ? QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 7. Veröffentlichen")
                                      : QStringLiteral("Bild muss für Flattrium bearbeitet werden.");
        a.lblQMassnahmeFarbe = farbe(q.geeignet());
    }

    const Eingaben& e = m_eingaben;
    a.Combo1 = e.verhaeltnis;
    a.oColor = e.farbe;
    a.rahmenFarbe = e.rahmenFarbe;
    a.List1 = e.groessen;
    a.List1Index = e.groesse;
    a.eigeneGroesse = e.groesse == 0;
    a.TextB = e.breiteText;
    a.TextH = e.hoeheText;
    a.TextKomp = e.qualitaetText;
    a.lblZpx = e.zielText;
    a.UpDown1 = e.upDown1;
    a.UpDown1Gesetzt = e.upDown1Gesetzt;
    a.UpDown2 = e.upDown2;
    a.UpDown2Gesetzt = e.upDown2Gesetzt;

    if (m_angezeigteBytes)
        a.lblKb = GroessenText(*m_angezeigteBytes);
    const Zielstand& z = m_ziel;
    if (z.urteil) {
        const bewertung::Ziel& u = z.urteil->ziel;
        const bool auswahl = z.urteil->auswahlGezeigt, groesse = z.urteil->groesseGezeigt;
        a.lblPruef = u.masse;
        a.lblPruef1 = auswahl ? u.auswahl : QString();
        a.lblPruef2 = groesse ? u.groesse : QString();
        a.lblZMassnahme = u.geeignet() ? QString() : u.masseMassnahme;
        a.lblZMassnahme2 = u.geeignet() || !groesse ? QString() : u.groesseMassnahme;
        a.lblPruefFarbe = farbe(u.masseOk);
        a.lblPruef1Farbe = farbe(auswahl && u.auswahlOk);
        a.lblPruef2Farbe = farbe(groesse && u.groesseOk);
        a.lblZMassnahme1Farbe = farbe(u.geeignet());
    }
    switch (z.weiter) {
    case Zielstand::Weiter::Nichts:
        break;
    case Zielstand::Weiter::Urteil:
        if (z.urteil && z.urteil->auswahlGezeigt)
            a.lblZMassnahme1 = z.urteil->ziel.auswahlMassnahme;
        break;
    case Zielstand::Weiter::Zuschneiden:
        a.lblZMassnahme1 = QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 6. Zuschneiden");
        break;
    case Zielstand::Weiter::Speichern:
        a.lblZMassnahme1 = QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 6. Speichern");
        break;
    case Zielstand::Weiter::Gespeichert:
        a.lblZMassnahme1 = QStringLiteral("Bild gespeichert. Weiter mit: 7. Veröffentlichen");
        break;
    }
    a.statusLicht = z.statusLicht;
    a.Command1 = z.Command1;
    a.Command2 = z.Command2;
    a.Command3 = z.Command3;
    a.cmdBesteQualitaet = z.cmdBesteQualitaet;
    a.Command7 = a.picZiel = m_bildGeladen;
    return a;
}

// --- the JPEG service ---

int Arbeitsstand::jpegDienstStarten()
{
    m_gdiplusBereit = false;
    const int status = m_jpeg.GdipStarten(1);
    m_gdiplusBereit = status == 0;
    return status;
}

void Arbeitsstand::jpegDienstBeenden()
{
    if (m_gdiplusBereit)
        m_jpeg.GdipBeenden();
    m_gdiplusBereit = false;
}

// --- start-up ---

void Arbeitsstand::starten()
{
    for (const auto h : {Auswahlrahmen::LO, Auswahlrahmen::RO, Auswahlrahmen::LU, Auswahlrahmen::RU})
        m_rahmen.griffe[h].cursor = Auswahlrahmen::groessenCursor(h);
    m_rahmen.verhaeltnisB = 3;
    m_rahmen.verhaeltnisH = 2;
    m_eingaben.groessen = listen::groessenEintraege(m_rahmen.verhaeltnisB, m_rahmen.verhaeltnisH);
    m_eingaben.groesse = -1;
    m_rahmen.verbergen();
    m_rahmen.anzeige.reset();
    for (auto& griff : m_rahmen.griffe) {
        griff.W = 6;
        griff.H = 6;
    }
    m_ziel.statusLicht = 1;
}

// --- step 1: loading ---

void Arbeitsstand::neuesBild(const QString& pfad, QImage bild)
{
    // The old picture goes before the new one takes its copies.
    m_quelle = Quellbild();
    neuesBild(pfad, Quellbild(std::move(bild)));
}

bool Arbeitsstand::vollesBild(Quellbild voll)
{
    if (!m_quelle.vorlaeufig() || voll.vorlaeufig() || voll.breite() != m_quelle.breite() || voll.hoehe() != m_quelle.hoehe())
        return false;
    m_quelle = std::move(voll);
    return true;
}

bool Arbeitsstand::pixelDa()
{
    if (!m_quelle.vorlaeufig())
        return true;
    if (!m_ketteAusstehend) {
        m_ketteAusstehend = true;
        if (m_rueckmeldung.ketteAusstehend)
            m_rueckmeldung.ketteAusstehend();
    }
    return false;
}

void Arbeitsstand::ausstehendeKetteAusfuehren()
{
    if (!m_ketteAusstehend || m_quelle.vorlaeufig())
        return;
    m_ketteAusstehend = false;
    zielkette();
}

void Arbeitsstand::bildEntfernen()
{
    neuesBild(QString(), Quellbild());
    // As at the start, but for the settings.
    m_quellMasse.reset();
    m_quelleBytes.reset();
    m_quellUrteil.reset();
    m_bildGeladen = false;
    m_ziel = Zielstand();
    m_zielbild = QImage();
    m_vorschau = QImage();
    m_letzteMessung = JpegMessung();
    m_angezeigteBytes.reset();
    m_veroeffentlichPfad.clear();
}

void Arbeitsstand::neuesBild(const QString& pfad, Quellbild quelle)
{
    ++m_zaehler.bilder;
    m_ziel.weiter = Zielstand::Weiter::Nichts;
    m_dateiPfad = pfad;
    m_quelle = Quellbild();
    m_rahmen.zuruecksetzen();
    m_quelle = std::move(quelle);
    m_ketteAusstehend = false;
    // The last measurement was of the previous picture.
    m_messungZumBild = false;
    m_zuschnittGezeigt = false;
    m_verlauf.leeren();
}

void Arbeitsstand::ansichtGebaut(bool zuschnitt, float breite, float hoehe, float aussenB, float aussenH, QSizeF flaeche)
{
    // A cropped picture on show is only looked at; the next frame brings the loaded one back.
    if (zuschnitt)
        return;
    m_quellFlaeche = flaeche;
    const float qb = m_quelle.isNull() ? 1.0f : float(m_quelle.breite());
    const float qh = m_quelle.isNull() ? 1.0f : float(m_quelle.hoehe());
    m_rahmen.setzeFlaechen(breite, hoehe, aussenB, aussenH, qb, qh);
}

void Arbeitsstand::bildGeladen(double kompression)
{
    m_bildGeladen = true;
    m_quellMasse = QSize(m_quelle.breite(), m_quelle.hoehe());
    m_ziel.Command1 = false;
    m_ziel.Command2 = false;
    zielVorhanden(false);
    // A quality chosen for the previous picture goes.
    qualitaetGeaendert(zahlen::Kurz(kompression));
    m_veroeffentlichPfad.clear();
    m_ziel.statusLicht = 1;
    QuellgroesseAnzeigen(m_dateiPfad);
    QuelleBewerten();
}

void Arbeitsstand::QuellgroesseAnzeigen(const QString& datei)
{
    // By the name the system knows it by, which need not be UTF-8.
    struct stat info {};
    m_quelleBytes = ::stat(dateinameImSystem(datei).constData(), &info) == 0 ? qint64(info.st_size) : 0;
}

void Arbeitsstand::QuelleBewerten()
{
    m_quellUrteil = bewertung::quelle(m_quelle.breite(), m_quelle.hoehe(), m_quelleBytes.value_or(0));
    if (m_quellUrteil->geeignet())
        veroeffentlichen(m_dateiPfad, true);
    else
        veroeffentlichen(QString(), false);
}

void Arbeitsstand::veroeffentlichen(const QString& pfad, bool freigeben)
{
    m_veroeffentlichPfad = pfad;
    m_ziel.Command3 = freigeben;
}

// --- the settings record ---

void Arbeitsstand::datensatzAnwenden(const SettingsRecord& d)
{
    m_vorgaben.pfadLaden = d.laden;
    m_vorgaben.pfadSpeichern = d.speichern;
    // The ratio rebuilds the sizes, so it comes first.
    if (gueltig(d.rahmen, listen::anzahlSeitenverhaeltnisse) != m_eingaben.verhaeltnis)
        verhaeltnisGewaehlt(d.rahmen);
    if (gueltig(d.farbe, listen::farbEintraege().size()) != m_eingaben.farbe)
        farbeGewaehlt(d.farbe);
    if (gueltig(d.Format, m_eingaben.groessen.size()) != m_eingaben.groesse)
        groesseGewaehlt(d.Format);
    if (m_eingaben.groesse == 0)
        breiteGeaendert(zahlen::Kurz(d.breite));
    qualitaetGeaendert(zahlen::Kurz(d.kompression));
    m_eingaben.upDown2 = int(zahlen::RundeGerade(d.kompression));
    ++m_eingaben.upDown2Gesetzt;
    m_vorgaben.anhang = d.dateiname;
    m_vorgaben.vorschlag = qint16(d.vorschlag);
}

// --- step 2 ---

void Arbeitsstand::verhaeltnisGewaehlt(int index)
{
    m_eingaben.verhaeltnis = gueltig(index, listen::anzahlSeitenverhaeltnisse);
    if (const auto* v = listen::seitenverhaeltnis(index)) {
        m_rahmen.verhaeltnisB = v->breite;
        m_rahmen.verhaeltnisH = v->hoehe;
    }
    // The size list anew; its fifth row chosen runs its own handling (and the chain)
    // while the old frame still stands, which is then discarded.
    m_eingaben.groessen = listen::groessenEintraege(m_rahmen.verhaeltnisB, m_rahmen.verhaeltnisH);
    m_eingaben.groesse = -1;
    groesseGewaehlt(4);
    m_rahmen.verbergen();
    m_rahmen.anzeige.reset();
    m_ziel.Command1 = false;
    m_ziel.Command2 = false;
    zielVorhanden(false);
    // Frames of another ratio cannot come back.
    m_verlauf.leeren();
}

void Arbeitsstand::farbeGewaehlt(int index)
{
    m_eingaben.farbe = gueltig(index, listen::farbEintraege().size());
    m_eingaben.rahmenFarbe = listen::farbwert(m_eingaben.farbe);
}

// --- step 3 ---

void Arbeitsstand::groesseGewaehlt(int index)
{
    Eingaben& e = m_eingaben;
    index = gueltig(index, e.groessen.size());
    e.groesse = index;
    if (index <= 0)
        return;
    // The preset's width, as its entry shows it.
    const double wert = double(m_rahmen.verhaeltnisB * float(listen::groessenFaktor(index)));
    breiteGeaendert(zahlen::Kurz(wert));
    e.upDown1 = int(std::clamp<long long>(zahlen::RundeGerade(wert), 10, 10000));
    ++e.upDown1Gesetzt;
}

void Arbeitsstand::breiteSetzen(const QString& text)
{
    m_eingaben.breiteText = text;
    m_eingaben.breite = zahlen::Val(text);
}

void Arbeitsstand::hoeheSetzen(const QString& text)
{
    m_eingaben.hoeheText = text;
    m_eingaben.hoehe = zahlen::Val(text);
}

void Arbeitsstand::breiteGeaendert(const QString& text)
{
    Eingaben& e = m_eingaben;
    breiteSetzen(text);
    if (e.breite == 0)
        return;
    hoeheSetzen(zahlen::Kurz(listen::hoeheZurBreite(e.breite, m_rahmen.verhaeltnisB, m_rahmen.verhaeltnisH)));
    e.zielText = e.breiteText + QStringLiteral(" x ") + e.hoeheText;
    m_zielHoehe = float(e.hoehe);
    if (m_zielHoehe > 0)
        zielkette();
}

// No handling of its own: the steps read it as typed until the next width overwrites it.
void Arbeitsstand::hoeheGetippt(const QString& text) { hoeheSetzen(text); }

// --- step 4 ---

void Arbeitsstand::rahmenDruecken(Qt::MouseButton knopf, float x, float y)
{
    if (knopf == Qt::LeftButton) {
        schrittBeginnen();
        // A new frame lies on the loaded picture.
        m_zuschnittGezeigt = false;
    }
    m_rahmen.druecken(knopf, x, y);
}

void Arbeitsstand::rahmenZiehen(Qt::MouseButtons knoepfe, float x, float y) { m_rahmen.ziehen(knoepfe, x, y); }

void Arbeitsstand::rahmenLoslassen(Qt::MouseButton knopf)
{
    switch (m_rahmen.loslassen(knopf)) {
    case Auswahlrahmen::Ergebnis::Nichts:
        if (knopf == Qt::LeftButton)
            m_verlauf.verwerfen();
        return;
    case Auswahlrahmen::Ergebnis::Leer:
        keinRahmen();
        break;
    case Auswahlrahmen::Ergebnis::Gesetzt:
        rahmenGesetzt();
        break;
    }
    schrittAbschliessen();
}

void Arbeitsstand::rahmenGesetzt()
{
    // A new frame can be cropped; what was published before no longer fits it.
    m_ziel.Command1 = true;
    m_ziel.Command3 = false;
    zielVorhanden(true);
    zielkette();
}

void Arbeitsstand::keinRahmen()
{
    // A frame released wholly outside the picture selects nothing.
    m_ziel.Command1 = false;
    zielVorhanden(false);
    ZielBewerten();
}

void Arbeitsstand::griffDruecken(Auswahlrahmen::Griffname h, Qt::MouseButton knopf, float x, float y)
{
    if ((knopf == Qt::LeftButton || knopf == Qt::RightButton) && !m_verlauf.begonnen())
        schrittBeginnen();
    m_rahmen.griffDruecken(h, knopf, x, y);
}

void Arbeitsstand::griffZiehen(Auswahlrahmen::Griffname h, Qt::MouseButtons knoepfe, float x, float y)
{
    m_rahmen.griffZiehen(h, knoepfe, x, y);
}

void Arbeitsstand::griffLoslassen(Auswahlrahmen::Griffname h, Qt::MouseButton knopf, Qt::MouseButtons noch)
{
    const Auswahlrahmen::Ergebnis ergebnis = m_rahmen.griffLoslassen(h, knopf);
    if (ergebnis == Auswahlrahmen::Ergebnis::Gesetzt)
        zielkette();
    m_rahmen.griffLoslassenAbschliessen(h, noch);
    if (ergebnis == Auswahlrahmen::Ergebnis::Leer)
        keinRahmen();
    // A drag with both buttons is one step for undo, ended by the last button.
    if (noch != Qt::NoButton && ergebnis != Auswahlrahmen::Ergebnis::Leer)
        return;
    if (ergebnis != Auswahlrahmen::Ergebnis::Nichts)
        schrittAbschliessen();
    else if (knopf == Qt::LeftButton || knopf == Qt::RightButton)
        m_verlauf.verwerfen();
}

void Arbeitsstand::ganzesBildAuswaehlen()
{
    schrittBeginnen();
    m_zuschnittGezeigt = false;
    m_rahmen.ganzesBild();
    rahmenGesetzt();
    schrittAbschliessen();
}

std::optional<Arbeitsstand::Rahmenschritt> Arbeitsstand::rahmenschritt(int taste, Qt::KeyboardModifiers modifikatoren)
{
    // Shortcuts with Ctrl, Alt or Meta belong to others.
    if (modifikatoren & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    const float schritt = (modifikatoren & Qt::ShiftModifier) ? 10 : 1;
    switch (taste) {
    case Qt::Key_Left: return Rahmenschritt{-schritt, 0, 0};
    case Qt::Key_Right: return Rahmenschritt{schritt, 0, 0};
    case Qt::Key_Up: return Rahmenschritt{0, -schritt, 0};
    case Qt::Key_Down: return Rahmenschritt{0, schritt, 0};
    case Qt::Key_Plus: return Rahmenschritt{0, 0, 1};
    case Qt::Key_Minus: return Rahmenschritt{0, 0, -1};
    default: return std::nullopt;
    }
}

bool Arbeitsstand::rahmenTaste(const Rahmenschritt& schritt, bool wiederholt)
{
    if (!m_rahmen.platziert())
        return false;
    // A held key is one step, from its first press.
    if (!wiederholt)
        schrittBeginnen();
    const bool geaendert = schritt.dw != 0 ? m_rahmen.tastenGroesse(schritt.dw) : m_rahmen.tastenSchieben(schritt.dx, schritt.dy);
    if (!geaendert) {
        m_verlauf.verwerfen();
        return false;
    }
    // Each step ends like a release of the mouse; only a repeating key waits until it is
    // let go or pauses, so that the frame moves smoothly.
    if (wiederholt) {
        m_tastenKetteOffen = true;
    } else {
        zielkette();
        schrittAbschliessen();
    }
    return true;
}

void Arbeitsstand::tastenketteAusfuehren()
{
    if (!m_tastenKetteOffen)
        return;
    m_tastenKetteOffen = false;
    // A frame discarded or taken by the mouse in the meantime has its own chain.
    if (m_rahmen.platziert())
        zielkette();
}

// --- step 5 ---

void Arbeitsstand::qualitaetGeaendert(const QString& text)
{
    m_eingaben.qualitaetText = text;
    m_eingaben.qualitaet = zahlen::Val(text);
    ZielgroesseMessen();
    ZielBewerten();
}

std::optional<beste::Ergebnis> Arbeitsstand::besteQualitaet()
{
    // The target picture, as the next measurement and a save would encode it.
    if (!m_gdiplusBereit || m_zielbild.isNull())
        return std::nullopt;
    kodierungEntscheiden();
    const beste::Ergebnis ergebnis = m_vorgaben.einfacheKodierung ? beste::suchen(m_jpeg, m_zielbild)
                                                                   : beste::suchenMitProgressiv(m_jpeg, m_zielbild);
    if (ergebnis.status == 0 && ergebnis.qualitaet > 0) {
        qualitaetGeaendert(zahlen::Kurz(double(ergebnis.qualitaet)));
        // The arrows step on from the quality found.
        m_eingaben.upDown2 = ergebnis.qualitaet;
        ++m_eingaben.upDown2Gesetzt;
    }
    return ergebnis;
}

// --- the target chain ---

void Arbeitsstand::zielkette()
{
    ++m_zaehler.ketten;
    m_tastenKetteOffen = false;
    AuswahlUebertragen();
    ZielgroesseMessen();
    ZielBewerten();
}

void Arbeitsstand::AuswahlUebertragen()
{
    ++m_zaehler.uebertragen;
    m_zielbild = QImage();
    m_vorschau = QImage();
    const Auswahlrahmen::Rechteck q = m_rahmen.quellrechteck();
    m_rahmen.shape2 = q;
    if (m_rahmen.shape1Sichtbar)
        m_rahmen.anzeige = Auswahlrahmen::anzeigeFuer(q);
    else
        m_rahmen.anzeige.reset();

    m_zielRechteck = QRectF();
    m_zielGroesse = QSize();
    const double tw = zahlen::Ganz(m_eingaben.breite);
    const double th = zahlen::Ganz(m_eingaben.hoehe);
    if (tw < 1 || th < 1 || tw > 100000 || th > 100000 || m_quelle.isNull())
        return;
    if (!pixelDa()) {
        // Nothing of this crop is measured yet.
        m_angezeigteBytes.reset();
        return;
    }
    m_zielRechteck = QRectF(q.L, q.T, q.W, q.H);
    m_zielGroesse = QSize(int(tw), int(th));
    m_zielbild = ausschneiden();
    kodierungWaehlen();
}

QImage Arbeitsstand::ausschneiden()
{
    // The same crop again ("Zuschneiden", undo) is the same raster: its coding chosen and
    // its encodes kept stay good for it.
    const qint64 quelle = m_quelle.bild().cacheKey();
    if (m_ausschnitt.quelle != quelle || m_ausschnitt.rechteck != m_zielRechteck || m_ausschnitt.groesse != m_zielGroesse
        || m_ausschnitt.bild.isNull())
        m_ausschnitt = {quelle, m_zielRechteck, m_zielGroesse, m_quelle.ausschnitt(m_zielRechteck, m_zielGroesse), {}};
    return m_ausschnitt.bild;
}

void Arbeitsstand::kodierungWaehlen()
{
    m_wahlOffen = 0;
    if (m_vorgaben.einfacheKodierung || !m_gdiplusBereit || m_zielbild.isNull()) {
        m_jpeg.setzeKodierung(einfacheKodierung);
        return;
    }
    // The choice depends on the crop at the target size alone: the same crop keeps it.
    const bool gemerkt = m_ausschnitt.bild.cacheKey() == m_zielbild.cacheKey();
    if (gemerkt && m_ausschnitt.kodierung) {
        m_jpeg.setzeKodierung(*m_ausschnitt.kodierung);
        return;
    }
    // The first choice is made here, before the measurement: there is no coding chosen
    // before that would likely be this crop's too.
    if (!m_rueckmeldung.nebenher || !m_schonGewaehlt) {
        const Kodierung gewaehlt = kodierwahl::waehlen(m_jpeg, m_zielbild).kodierung;
        if (gemerkt)
            m_ausschnitt.kodierung = gewaehlt;
        m_jpeg.setzeKodierung(gewaehlt);
        m_schonGewaehlt = true;
        return;
    }
    const qint64 bild = m_zielbild.cacheKey();
    // Not on the way of the release: the crop is measured at once in the coding chosen
    // last, the likeliest, while the choice for it is made beside.
    m_wahlOffen = bild;
    m_rueckmeldung.nebenher(
        [probe = kodierwahl::probe(m_zielbild)] {
            JpegDienst dienst;
            dienst.GdipStarten(1);
            return kodierwahl::waehlen(dienst, probe).kodierung;
        },
        [this, bild](const Kodierung& kodierung) { kodierungGewaehlt(bild, kodierung); });
}

void Arbeitsstand::kodierungGewaehlt(qint64 bild, const Kodierung& kodierung)
{
    if (m_ausschnitt.bild.cacheKey() == bild)
        m_ausschnitt.kodierung = kodierung;
    // Only while the choice is still wanted for the crop now at hand.
    if (m_wahlOffen != bild || m_zielbild.cacheKey() != bild || m_vorgaben.einfacheKodierung)
        return;
    m_wahlOffen = 0;
    if (m_jpeg.kodierung() == kodierung)
        return;
    m_jpeg.setzeKodierung(kodierung);
    if (m_messungZumBild) {
        ZielgroesseMessen();
        ZielBewerten();
    }
}

void Arbeitsstand::kodierungEntscheiden()
{
    if (m_wahlOffen != 0)
        kodierungGewaehlt(m_wahlOffen, kodierwahl::waehlen(m_jpeg, m_zielbild).kodierung);
    m_wahlOffen = 0;
}

void Arbeitsstand::einfacheKodierungSetzen(bool einfach)
{
    if (m_vorgaben.einfacheKodierung == einfach)
        return;
    m_vorgaben.einfacheKodierung = einfach;
    kodierungWaehlen();
    if (m_messungZumBild && !m_zielbild.isNull()) {
        ZielgroesseMessen();
        ZielBewerten();
    }
}

void Arbeitsstand::ZielgroesseMessen()
{
    // After "Zuschneiden" the frame is gone but its crop waits to be saved:
    // a new quality must measure it, or the save would write the old one.
    if (!m_rahmen.shape1Sichtbar && !m_ziel.Command2)
        return;
    if (!m_bildGeladen) {
        m_angezeigteBytes.reset();
        return;
    }
    m_vorschau = m_zielbild;
    m_vorschauGroesse = m_zielbild.isNull() ? QSize(1, 1) : m_zielbild.size();
    m_jpegQualitaet = int(zahlen::RundeGerade(m_eingaben.qualitaet));
    if (!m_gdiplusBereit || m_vorschau.isNull())
        return;
    ++m_zaehler.gemessen;
    m_letzteMessung = m_jpeg.JpegMessen(m_vorschau, m_jpegQualitaet);
    if (m_letzteMessung.status != 0 && m_rueckmeldung.status)
        m_rueckmeldung.status(m_letzteMessung.status);
    // A handler that runs here sees the new measurement and the old preview.
    if (m_rueckmeldung.zwischendurch) {
        m_zwischendurch = true;
        m_rueckmeldung.zwischendurch();
        m_zwischendurch = false;
    }
    m_vorschau = m_letzteMessung.Bild;
    if (!m_vorschau.isNull())
        m_vorschauGroesse = m_vorschau.size();
    m_angezeigteBytes = qint64(m_letzteMessung.Groesse);
    m_messungZumBild = true;
}

void Arbeitsstand::ZielBewerten()
{
    ++m_zaehler.bewertet;
    const std::optional<long long> auswahl =
        m_rahmen.anzeige ? std::optional<long long>(m_rahmen.anzeige->breite) : std::nullopt;
    // The selection shows while a picture does, the size once something was measured.
    const Zielstand::Urteil urteil{bewertung::ziel(m_eingaben.breite, m_eingaben.hoehe, auswahl, m_angezeigteBytes),
                                   m_bildGeladen, m_angezeigteBytes.has_value()};
    const bool geeignet = urteil.ziel.geeignet();
    m_ziel.urteil = urteil;
    m_ziel.statusLicht = geeignet ? 2 : 1;
    using W = Zielstand::Weiter;
    m_ziel.weiter = !geeignet ? W::Urteil : m_ziel.Command1 ? W::Zuschneiden : m_ziel.Command2 ? W::Speichern : W::Urteil;
}

// --- step 6 ---

void Arbeitsstand::BildZuschneiden()
{
    schrittBeginnen();
    m_rahmen.verbergen();
    m_rahmen.anzeige.reset();
    AuswahlUebertragen();
    ZielgroesseMessen();
    m_zuschnittGezeigt = true;
    schrittAbschliessen();
}

void Arbeitsstand::zuschnittFertig()
{
    m_ziel.Command2 = true;
    m_ziel.Command1 = false;
    zielVorhanden(true);
    ZielBewerten();
}

int Arbeitsstand::speichern(const QString& pfad)
{
    // The file written is the very JPEG whose size was shown and judged, in the coding chosen for it.
    kodierungEntscheiden();
    const int status = m_jpeg.JpegSpeichern(m_letzteMessung, pfad);
    if (status != 0)
        return status;
    veroeffentlichen(pfad, true);
    m_ziel.weiter = Zielstand::Weiter::Gespeichert;
    return 0;
}

int Arbeitsstand::kopieSpeichern(const QByteArray& daten, const QString& pfad)
{
    JpegMessung kopie;
    kopie.daten = daten;
    const int status = m_jpeg.JpegSpeichern(kopie, pfad);
    // From now on the copy is what step 7 publishes.
    if (status == 0)
        m_veroeffentlichPfad = pfad;
    return status;
}

// --- undo ---

Schnappschuss Arbeitsstand::festhalten() const
{
    Schnappschuss s;
    s.rahmen = m_rahmen;
    s.ziel = m_ziel;
    s.zielRechteck = m_zielRechteck;
    s.zielGroesse = m_zielGroesse;
    if (!m_vorschau.isNull() && m_vorschau.cacheKey() == m_letzteMessung.Bild.cacheKey())
        s.vorschau = Schnappschuss::Vorschau::Messung;
    else if (!m_vorschau.isNull() && m_vorschau.cacheKey() == m_zielbild.cacheKey())
        s.vorschau = Schnappschuss::Vorschau::Zielbild;
    s.vorschauGroesse = m_vorschauGroesse;
    s.messung = m_letzteMessung;
    s.messung.Bild = QImage();
    s.messungMitBild = !m_letzteMessung.Bild.isNull();
    s.angezeigteBytes = m_angezeigteBytes;
    s.jpegQualitaet = m_jpegQualitaet;
    s.kodierung = m_jpeg.kodierung();
    s.messungZumBild = m_messungZumBild;
    s.veroeffentlichPfad = m_veroeffentlichPfad;
    s.zuschnittGezeigt = m_zuschnittGezeigt;
    s.quellFlaeche = m_quellFlaeche;
    s.breite = m_eingaben.breite;
    s.hoehe = m_eingaben.hoehe;
    s.qualitaet = m_eingaben.qualitaet;
    return s;
}

void Arbeitsstand::schrittAbschliessen()
{
    if (m_verlauf.begonnen())
        m_verlauf.abschliessen(festhalten());
}

bool Arbeitsstand::rueckgaengig()
{
    // While the mouse holds the frame the step is not over yet.
    if (!m_verlauf.kannZurueck())
        return false;
    tastenketteAusfuehren();
    wiederherstellen(*m_verlauf.zurueckgehen(festhalten()));
    return true;
}

bool Arbeitsstand::wiederholen()
{
    if (!m_verlauf.kannVor())
        return false;
    tastenketteAusfuehren();
    wiederherstellen(*m_verlauf.vorgehen(festhalten()));
    return true;
}

void Arbeitsstand::wiederherstellen(const Verlauf::Ziel& ziel)
{
    const Schnappschuss& s = ziel.schritt;
    m_rahmen = s.rahmen;
    m_ziel = s.ziel;
    m_letzteMessung = s.messung;
    if (s.messungMitBild && m_jpeg.dekodieren(m_letzteMessung.daten, m_letzteMessung.Bild) != 0)
        m_letzteMessung.Bild = QImage();
    m_angezeigteBytes = s.angezeigteBytes;
    m_jpegQualitaet = s.jpegQualitaet;
    // The bytes kept are those of the coding then; a save writes them as they are.
    m_jpeg.setzeKodierung(m_vorgaben.einfacheKodierung ? einfacheKodierung : s.kodierung);
    m_messungZumBild = s.messungZumBild;
    m_veroeffentlichPfad = s.veroeffentlichPfad;
    m_vorschauGroesse = s.vorschauGroesse;
    m_zuschnittGezeigt = s.zuschnittGezeigt;
    m_quellFlaeche = s.quellFlaeche;
    m_tastenKetteOffen = false;

    if (ziel.kette) {
        AuswahlUebertragen();
        ZielgroesseMessen();
        ZielBewerten();
        return;
    }
    m_zielRechteck = s.zielRechteck;
    m_zielGroesse = s.zielGroesse;
    m_zielbild = m_zielGroesse.isEmpty() || m_quelle.isNull() || !pixelDa() ? QImage() : ausschneiden();
    m_vorschau = s.vorschau == Schnappschuss::Vorschau::Messung   ? m_letzteMessung.Bild
                 : s.vorschau == Schnappschuss::Vorschau::Zielbild ? m_zielbild
                                                                  : QImage();
}
