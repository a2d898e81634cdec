// Step 4: the selection frame by mouse, at its handles and as the whole picture.
// The state moves the frame and runs the chain; the window brings the loaded
// picture back into view first when it shows a crop. Undo and redo show the view
// that the step left.

#include "app/Form1.h"

#include "platform/Flaechen.h"

void Form1::picZiel_MouseDown(Qt::MouseButton knopf, QPointF pos)
{
    if (knopf != Qt::LeftButton)
        return;
    zuschnittAusblenden();
    m_stand.rahmenDruecken(knopf, float(pos.x()), float(pos.y()));
    anzeigen();
}

void Form1::picZiel_MouseMove(Qt::MouseButtons knoepfe, QPointF pos)
{
    if (knoepfe != Qt::LeftButton)
        return;
    m_stand.rahmenZiehen(knoepfe, float(pos.x()), float(pos.y()));
    rahmenZeigen();
}

void Form1::picZiel_MouseUp(Qt::MouseButton knopf)
{
    m_stand.rahmenLoslassen(knopf);
    anzeigen();
}

void Form1::Griff_MouseDown(Auswahlrahmen::Griffname h, Qt::MouseButton knopf, QPointF pos)
{
    m_stand.griffDruecken(h, knopf, float(pos.x()), float(pos.y()));
    rahmenZeigen();
}

void Form1::Griff_MouseMove(Auswahlrahmen::Griffname h, Qt::MouseButtons knoepfe, QPointF pos)
{
    m_stand.griffZiehen(h, knoepfe, float(pos.x()), float(pos.y()));
    rahmenZeigen();
}

void Form1::Griff_MouseUp(Auswahlrahmen::Griffname h, Qt::MouseButton knopf, Qt::MouseButtons noch)
{
    m_stand.griffLoslassen(h, knopf, noch);
    anzeigen();
}

void Form1::zuschnittAusblenden()
{
    if (m_stand.zuschnittGezeigt())
        AnsichtAufbauen(Ansichtsquelle::Quelle);
}

void Form1::Command7_Click()
{
    zuschnittAusblenden();
    m_stand.ganzesBildAuswaehlen();
    anzeigen();
}

void Form1::rueckgaengig(bool vor)
{
    if (!isEnabled() || !(vor ? m_stand.wiederholen() : m_stand.rueckgaengig()))
        return;
    anzeigen();
    // The view as the step left it: the crop, or the loaded picture in its area of then.
    if (m_stand.zuschnittGezeigt())
        AnsichtAufbauen(Ansichtsquelle::Zuschnitt);
    else
        AnsichtAufbauen(Ansichtsquelle::Quelle, m_stand.quellFlaeche());
}
