#pragma once

#include "platform/Nebenfenster.h"

// The text of the about box's mail link: "mailto:" and the address, then
// "?Subject=" and the subject when there is one, then "&body=" and the message
// when it is not blank, its line breaks written as %0D%0A.
QString mailLinkText(const QString& adresse, const QString& betreff, const QString& nachricht);

// The begun message: a greeting to the maker and one line to go on from.
QString mailNachricht(const QString& name);

// "Info zu Fotoschliff": title, version, what the program is for, and two
// links to its maker (mail and web site).
class frmAbout : public EigenesFenster {
    Q_OBJECT
public:
    // hauptfenster: disabled while the box is open, enabled again when it closes.
    explicit frmAbout(QWidget* hauptfenster);

private:
    void Label1_Click(int index);
    void cmdOK_Click();
};
