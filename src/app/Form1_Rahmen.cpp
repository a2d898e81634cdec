#include "app/Form1.h"

#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"

#include <QPushButton>
#include <QTimer>

void Form1::picZiel_MouseDown(Qt::MouseButton knopf, QPointF pos)
{
    if (knopf != Qt::LeftButton)
        return;
    zuschnittAusblenden();
    m_rahmen.druecken(knopf, float(pos.x()), float(pos.y()));
    rahmenZeigen();
}

void Form1::picZiel_MouseMove(Qt::MouseButtons knoepfe, QPointF pos)
{
    if (knoepfe != Qt::LeftButton)
        return;
    m_rahmen.ziehen(knoepfe, float(pos.x()), float(pos.y()));
    rahmenZeigen();
}

void Form1::picZiel_MouseUp(Qt::MouseButton knopf)
{
    switch (m_rahmen.loslassen(knopf)) {
    case Auswahlrahmen::Ergebnis::Nichts:
        return;
    case Auswahlrahmen::Ergebnis::Leer:
        keinRahmen();
        return;
    case Auswahlrahmen::Ergebnis::Gesetzt:
        break;
    }
    rahmenZeigen();
    rahmenGesetzt();
}

void Form1::rahmenGesetzt()
{
    // A new frame can be cropped; what was published before no longer fits it.
    Command1->setEnabled(true);
    Command3->setEnabled(false);
    zielVorhanden(true);
    zielkette();
}

void Form1::zielkette()
{
    ++m_zielkettenLaeufe;
    m_tastenKetteOffen = false;
    tastenTimer->stop();
    AuswahlUebertragen();
    ZielgroesseMessen();
    ZielBewerten();
}

void Form1::keinRahmen()
{
    // A frame released wholly outside the picture selects nothing.
    rahmenZeigen();
    Command1->setEnabled(false);
    zielVorhanden(false);
    ZielBewerten();
}

void Form1::Griff_MouseDown(Auswahlrahmen::Griffname h, Qt::MouseButton knopf, QPointF pos)
{
    m_rahmen.griffDruecken(h, knopf, float(pos.x()), float(pos.y()));
    rahmenZeigen();
}

void Form1::Griff_MouseMove(Auswahlrahmen::Griffname h, Qt::MouseButtons knoepfe, QPointF pos)
{
    m_rahmen.griffZiehen(h, knoepfe, float(pos.x()), float(pos.y()));
    rahmenZeigen();
}

void Form1::Griff_MouseUp(Auswahlrahmen::Griffname h, Qt::MouseButton knopf)
{
    const Auswahlrahmen::Ergebnis ergebnis = m_rahmen.griffLoslassen(h, knopf);
    if (ergebnis == Auswahlrahmen::Ergebnis::Gesetzt)
        zielkette();
    m_rahmen.griffLoslassenAbschliessen(h);
    if (ergebnis == Auswahlrahmen::Ergebnis::Leer)
        keinRahmen();
    else
        rahmenZeigen();
}

void Form1::zuschnittAusblenden()
{
    if (m_zeigtZuschnitt)
        AnsichtAufbauen(picQuelle, picZiel);
}

void Form1::Command7_Click()
{
    zuschnittAusblenden();
    m_rahmen.ganzesBild();
    rahmenZeigen();
    rahmenGesetzt();
}
