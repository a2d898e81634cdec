#include "hilfe/HilfeTexte.h"

// The users know these texts word for word; they are kept exactly as they
// were first written, slips and stray blanks included.
HilfeEintrag hilfeText(int index)
{
    const QString zeile = QStringLiteral("\r\n");
    switch (index) {
    case 0: // read-out strip, beside the source rows (Quelle)
        return {QStringLiteral("Eignung eines Bildes zur Veröffentlichung im Flattrium"),
            QStringLiteral("Eine Bilddatei, die im Flattrium veröffentlicht werden soll, sollte folgende Kriterien erfüllen:") + zeile + zeile
            + QStringLiteral("1. Das Seitenverhältnis zwischen Breite und Höhe sollte 3 : 2 betragen.") + zeile
            + QStringLiteral("2. Das Motiv sollte formatfüllend auf mindestens 450 x 300 Pixeln, höchstens auf 900 x 600 Pixeln abgebildet werden.") + zeile
            + QStringLiteral("3. Die Bilddatei muss kleiner als 100 Kilobyte (KB) sein.") + zeile + zeile
            + QStringLiteral("Haben Sie eine Bilddatei geladen, die schon diesen Voraussetzungen entspricht, können Sie direkt mit Schritt 7 (Veröffentlichen) ")
            + QStringLiteral("weitermachen. Dabei wird der Pfad zur Datei auf Ihrem Computer in die Zwischenablage kopiert, so dass Sie ihn direkt in das ")
            + QStringLiteral("entsprechende Feld der Eingabemaske einfügen können, ohne sich durch den Durchsuchen-Dialog klicken zu müssen.") + zeile + zeile
            + QStringLiteral("Ist die geladene Bilddatei zu groß, bekommen Sie einen Hinweis, dass Sie die Datei erst bearbeiten müssen. ")
            + QStringLiteral("Dafür haben Sie ja dieses Programm eigentlich auch gestartet...") + zeile
            + QStringLiteral("Wenn Sie die Standardeinstellungen nicht geändert haben, ")
            + QStringLiteral("machen Sie direkt weiter mit Schritt 4 (Auswahlrahmen aufziehen).")};
    case 1: // read-out strip, row "Ziel:" / "Abmessungen:"
        return {QStringLiteral("Geeignete Abmessungen für die Veröffentlichung im Flattrium"),
            QStringLiteral("Die Mindestabmessungen für ein Bild im Querformat betragen 450 x 300 Pixel, die Maximalgröße ist auf ")
            + QStringLiteral("900 x 600 Pixel eingestellt. Kleinere Bilder lassen keine Details mehr erkennen, und größere Bilder sind für den Benutzer eher unbequem, ")
            + QStringLiteral("da er in einem verkleinerten Browser nicht das ganze Bild betrachten kann, sondern scrollen muss.") + zeile + zeile
            + QStringLiteral("Mit Bildern von 900 x 600 oder 600 x 400 (Voreinstellung) Pixeln habe ich im Flattrium gute Erfahrungen gemacht.") + zeile + zeile
            + QStringLiteral("Bekommen Ihre ausgewählten Abmessungen kein grünes OK, machen Sie weiter mit Schritt 3 (Zielformat festlegen).")};
    case 2: // read-out strip, row "Dateigröße:" of the target
        return {QStringLiteral("Geeignete Dateigröße für die Veröffentlichung im Flattrium"),
            QStringLiteral("Bilddateien, die größer sind als 100 KB (Kilobyte), werden im Flattrium mit einer entsprechenden Fehlermeldung ")
            + QStringLiteral("zurückgewiesen. Um den benötigten Speicherplatz für Ihr Bild auf unter 100 KB zu senken, verringern Sie in Schritt 5 (Kompression regeln) die Kompressionsrate, ")
            + QStringLiteral("bis eine Dateigröße unter 100 KB erreicht ist. ") + zeile
            + QStringLiteral("Tipp: Sollte bei 'Dateigröße' in den Statusmeldungen zur Zieldatei schon ein OK stehen, versuchen Sie, die Kompressionsrate ")
            + QStringLiteral("zu erhöhen, bis Sie eine Dateigröße von knapp unter 100 KB erreicht haben. Die Bildqualität wird dann besser.") + zeile + zeile
            + QStringLiteral("Generell haben Bilder mit einer Kompressionsrate von 75 noch ausreichende Bildqualität.")};
    case 3: // read-out strip, row "Auswahlbereich:"
        return {QStringLiteral("Geeignete Größe des Auswahlrahmens"),
            QStringLiteral("Die Abmessungen des Auswahlrahmens in Pixeln müssen größer sein als die Abmessungen der Zieldatei. ")
            + QStringLiteral("Ist der Auswahlrahmen zu klein für das gewählte Zielformat, bedeutet das, dass in der Zieldatei mehrere Pixel mit der Bildinformation eines einzigen Pixels aus der ")
            + QStringLiteral("Auswahl gefüllt werden. Die Folge sind sogenannte 'Pixeltreppchen' im Bild bzw. eine 'Verpixelung' des gesamten Bildes. ")
            + QStringLiteral("Die Bildqualität leidet also erheblich.") + zeile
            + QStringLiteral("Verändern Sie die Größe des Auswahlbereiches, bis Sie ein grünes OK bekommen.")};
    case 4: // step 2 ("2. Auswahlrahmen festlegen")
        return {QStringLiteral("Seitenverhältnis und Farbe des Auswahlrahmens "),
            QStringLiteral("Legen Sie hier fest, in welchem Format der Auswahlrahmen aufgezogen wird. Für das Flattrium wird ein ")
            + QStringLiteral("Seitenverhältnis von 3:2 für ein Bild im Querformat bzw. 2:3 für ein Hochformat bevorzugt. Sie können aber auch andere ")
            + QStringLiteral("Einstellungen wählen. An benutzerdefinierten Formaten und freien Seitenverhältnissen wird noch gearbeitet.") + zeile
            + QStringLiteral("Je nach Motiv ist der voreingestellte weiße Rahmen nicht gut zu sehen. Verändern Sie dann die Farbe des Rahmens, bis er ")
            + QStringLiteral("auf dem Bild gut zu erkennen ist.")};
    case 5: // step 3 ("3. Zielformat festlegen")
        return {QStringLiteral("Geeignete Abmessungen für die Veröffentlichung im Flattrium"),
            QStringLiteral("Die Mindestabmessungen für ein Bild im Querformat betragen 450 x 300 Pixel, die Maximalgröße ist auf ")
            + QStringLiteral("900 x 600 Pixel eingestellt. Kleinere Bilder lassen keine Details mehr erkennen, und größere Bilder sind für den Benutzer eher unbequem, ")
            + QStringLiteral("da er in einem verkleinerten Browser nicht das ganze Bild betrachten kann, sondern scrollen muss.") + zeile + zeile
            + QStringLiteral("Mit Bildern von 900 x 600 oder 600 x 400 (Voreinstellung) Pixeln habe ich im Flattrium gute Erfahrungen gemacht.") + zeile + zeile
            + QStringLiteral("Die Abmessungen stehen in direkter Beziehung zum Format des Auswahlrahmens, d.h. haben Sie einen Auswahlrahmen ")
            + QStringLiteral("im Querformat eingestellt, wird auch die Zieldatei im Querformat eingerichtet.") + zeile
            + QStringLiteral("Möchten Sie nicht die vorgegebenen Formate nutzen, stellen Sie BENUTZERDEFINIERT ein und geben die Abmessungen für die Bildbreite manuell ein. ")
            + QStringLiteral("Dazu können Sie den Regler benutzen, aber auch die Werte direkt über die Tastatur in das Feld eingeben. ")
            + QStringLiteral("Die Höhe des Bildes wird dann im Seitenverhältnis des Auswahlrahmens errechnet.")};
    case 6: // step 4 ("4. Auswahlrahmen ziehen"), top
        return {QStringLiteral("Auswahlrahmen aufziehen"),
            QStringLiteral("Sollten Sie die von der Software vorgegebenen Standardeinstellungen verwenden, ist dies der Schritt, den Sie ")
            + QStringLiteral("nach dem Laden eines Bildes ausführen sollten. Wählen Sie einen Startpunkt für Ihre Auswahl und ziehen Sie bei festgehaltener Maustaste diagonal durch das Bild. ")
            + QStringLiteral(" Nachdem Sie die Maustaste losgelassen haben, erscheinen an den Eckpunkten des Rechtecks die Ziehpunkte, mit denen Sie die Größe des Rahmens nachträglich ")
            + QStringLiteral("verändern können.") + zeile
            + QStringLiteral("Mit gedrückter LINKER Maustaste können Sie die Größe des Rahmens verändern, mit gedrückter RECHTER Maustaste können Sie den Rahmen bei gleichbleibender Größe verschieben. ") + zeile
            + QStringLiteral("Wenn Sie die Ziehpunkte an den Seiten des Auswahlrechtecks vermissen, denken Sie daran, dass ")
            + QStringLiteral("dieses Programm vorgegebene Seitenverhältnisse verwendet, Breite und Höhe des Auswahlrahmens gleichzeitig geändert werden müssen. Dafür sind die Ziehpunkte an ")
            + QStringLiteral("den Ecken ausreichend.")};
    case 7: // step 5 ("5. Kompression regeln")
        return {QStringLiteral("Kompression regeln"),
            QStringLiteral("Bilddateien, die größer sind als 100 KB (Kilobyte), werden im Flattrium mit einer entsprechenden Fehlermeldung ")
            + QStringLiteral("zurückgewiesen. Um den benötigten Speicherplatz für Ihr Bild auf unter 100 KB zu senken, verringern Sie in Schritt 5 (Kompression regeln) die Kompressionsrate, ")
            + QStringLiteral("bis eine Dateigröße unter 100 KB erreicht ist. ") + zeile
            + QStringLiteral("Benutzen Sie den Regler oder geben Sie einen Wert zwischen 50 und 100 manuell ein. Sie können diese Funktion ")
            + QStringLiteral("erst dann nutzen, wenn Sie einen Auswahlrahmen aufgezogen haben!") + zeile + zeile
            + QStringLiteral("Tipp: Sollte bei 'Dateigröße' in den Statusmeldungen zur Zieldatei schon ein OK stehen, versuchen Sie, die Kompressionsrate ")
            + QStringLiteral("zu erhöhen, bis Sie eine Dateigröße von knapp unter 100 KB erreicht haben. Die Bildqualität wird dann besser.") + zeile + zeile
            + QStringLiteral("Generell haben Bilder mit einer Kompressionsrate von 75 noch ausreichende Bildqualität.")};
    case 8: // step 6, beside "Zuschneiden"
        return {QStringLiteral("Zuschneiden"),
            QStringLiteral("Wenn Ihr Bild die Kriterien für die Veröffentlichung im Flattrium erfüllt un d Sie mit Ihrer Bearbeitung zufrieden sind, ")
            + QStringLiteral("schneiden Sie das Bild jetzt zu. An Ihrer Originaldatei wird dabei´noch immer KEINE Veränderung vorgenommen.") + zeile};
    case 9: // step 6, beside "Speichern unter ..."
        return {QStringLiteral("Speichern"),
            QStringLiteral("Wenn Ihr Bild zugeschnitten ist, können Sie es mit diesem Dialogfeld in einem Ordner Ihrer Wahl speichern. ") + zeile + zeile
            + QStringLiteral("Sie können auch unter Extras im Dialog BEVORZUGTE STARTEINSTELLUNGEN einen Ordner Ihrer Wahl als Voreinstellung ")
            + QStringLiteral("für dieses Dialogfeld angeben. Das erspart die manchmal aufwändige Klickerei durch die Verzeichnisstruktur.") + zeile + zeile
            + QStringLiteral("Sie können Ihre Originaldatei nur überschreiben und damit ändern, wenn Sie sie im gleichen Ordner ")
            + QStringLiteral("unter demselben Dateinamen speichern. Ein versehentliches Überschreiben ist damit ausgeschlossen.")};
    case 10: // step 7 ("7. Veröffentlichen")
        return {QStringLiteral("Veröffentlichen"),
            QStringLiteral("Durch einen Klick auf diese Schaltfläche kopieren Sie den Pfad zu Ihrer vorher gespeicherten Datei in die Zwischenablage ")
            + QStringLiteral("und starten das Flattrium in Ihrem Standardbrowser. Wenn Sie einen Beitrag schreiben oder eine Antwort auf einen Forumsbeitrag verfassen, ")
            + QStringLiteral("klicken Sie mit der rechten Maustaste in das Feld neben 'Bild aus Ihrer Festplatte einfügen' und wählen Sie EINFÜGEN. Sie brauchen sich NICHT im Durchsuchen-Dialog ")
            + QStringLiteral("durch die Verzeichnisstruktur zu klicken.") + zeile
            + QStringLiteral("Den Hinweis auf die Funddaten können Sie im Dialog BEVORZUGTE STARTEINSTELLUNGEN ausschalten.")};
    case 11: // frame "Extras", beside "bevorzugte Starteinstellungen..."
        return {QStringLiteral("Bevorzugte Starteinstellungen"),
            QStringLiteral("Hier öffnen Sie ein Dialogfeld, mit dem Sie die Einstellungen für Format und Farbe des Auswahlrahmens, ")
            + QStringLiteral("Abmessungen der zu erstellenden Datei und die Kompressionsrate für den Start des Programms voreinstellen können. ")
            + QStringLiteral("Zusätzlich können Sie Ordner Ihrer Wahl als Starteinstellung für die Dialogfelder DATEI ÖFFNEN und SPEICHERN UNTER festlegen.")};
    case 12: // frame "Extras", beside "Fundortzusammenstellung..."
        return {QStringLiteral("Fundortzusammenstellung"),
            QStringLiteral("Diese Funktion dient dazu , mit möglichst wenigen Mausklicks und Tastatureingaben die Funddaten ")
            + QStringLiteral("zum bearbeiteten Bild in dem vom Flattrium vorgeschriebenen Format zusammenzustellen.") + zeile
            + QStringLiteral("Diese Funktion ist lernfähig, d.h. Sie können Fundortangaben speichern und vorhandene Daten mit wenigen Klicks auswählen, ohne viel tippen zu müssen.")};
    case 13: // step 1 ("1. Bilddatei laden")
        return {QStringLiteral("Datei öffnen..."),
            QStringLiteral("Öffnen Sie eine JPEG-Bilddatei zur Bearbeitung. WICHTIG: Eine geöffnete Datei wird während der ")
            + QStringLiteral("gesamten Bearbeitungsphase nicht verändert. Sie können jederzeit eine andere Datei öffnen. Dabei gehen zwar Ihre Veränderungen ohne Nachfrage verloren, aber die Originaldatei ")
            + QStringLiteral("bleibt erhalten.") + zeile
            + QStringLiteral("Zum komfortablen Öffnen von Dateien können Sie in den BEVORZUGTEN EINSTELLUNGEN einen Ordner angeben, in dem sich die meisten Ihrer zu bearbeitenden Dateien ")
            + QStringLiteral("befinden. Dieser Ordner wird dann im DATEI ÖFFNEN-Dialog voreingestellt. Das können Sie  natürlich auch für den Dialog DATEI SPEICHERN UNTER tun.")};
    case 14: // step 4, beside "ganzes Bild auswählen"
        return {QStringLiteral("Ganzes Bild auswählen"),
            QStringLiteral("Sind die Abmessungen von Quelldatei und Zieldatei gleich groß, ist ein mit der Maus aufgezogener Rahmen immer zu klein ")
            + QStringLiteral("und man erhät eine Fehlermeldung. Um das zu vermeiden, können Sie mit dieser Schaltfläche das ganze Bild zum Auswahlbereich machen.")};
    default:
        return {};
    }
}
