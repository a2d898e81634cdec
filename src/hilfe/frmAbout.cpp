#include "hilfe/frmAbout.h"

#include "fotoschliff_config.h"
#include "platform/Dienste.h"
#include "platform/Nebenfenster.h"
#include "platform/Programmsymbol.h"
#include "platform/Steuerelemente.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

QString mailLinkText(const QString& adresse, const QString& betreff, const QString& nachricht)
{
    QString text = QStringLiteral("mailto:") + adresse;
    if (!betreff.isEmpty())
        text += QStringLiteral("?Subject=") + betreff;
    if (!nachricht.trimmed().isEmpty())
        text += QStringLiteral("&body=") + QString(nachricht).replace(QStringLiteral("\r\n"), QStringLiteral("%0D%0A"));
    return text;
}

QString mailNachricht(const QString& name)
{
    return QStringLiteral("Hallo ") + name + QStringLiteral(",\r\nDas wollte ich schon immer mal loswerden: \r\n");
}

frmAbout::frmAbout(QWidget* hauptfenster)
    : EigenesFenster(hauptfenster)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info zu ") + programmTitel());
    setFixedSize(440, 262);


    auto* picIcon = platzieren<QLabel>(this, "picIcon", {16, 16, 64, 64}, QString());
    picIcon->setPixmap(programmSymbolBild(64));

    auto* lblTitle = platzieren<QLabel>(this, "lblTitle", {96, 14, 328, 30}, programmTitel());
    QFont gross = lblTitle->font();
    gross.setBold(true);
    gross.setPointSizeF(gross.pointSizeF() * 1.6);
    lblTitle->setFont(gross);

    platzieren<QLabel>(this, "lblVersion", {96, 46, 328, 18}, QStringLiteral("Version %1.%2.%3")
                                                                  .arg(FOTOSCHLIFF_VERSION_MAJOR)
                                                                  .arg(FOTOSCHLIFF_VERSION_MINOR)
                                                                  .arg(FOTOSCHLIFF_VERSION_PATCH));
    auto* lblDescription = platzieren<QLabel>(this, "lblDescription", {96, 70, 328, 36}, QStringLiteral("JPEG-Bilder für die Veröffentlichung im Flattrium vorbereiten."));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* linie = new QFrame(this);
    linie->setFrameShape(QFrame::HLine);
    linie->setFrameShadow(QFrame::Sunken);
    linie->setGeometry(16, 118, 408, 2);

    auto* lblDisclaimer = platzieren<QLabel>(this, "lblDisclaimer", {16, 130, 408, 40}, QStringLiteral("Für konstruktive Kritik, Anregungen und natürlich auch Lob bin ich dankbar. "
                                         "Nehmen Sie Kontakt mit mir auf."));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const QString links[2] = {QStringLiteral("Mail"), QStringLiteral("Internet")};
    // Addresses set when building, as "Name <adresse>" perhaps: shown as they are.
    const QString ziele[2] = {QStringLiteral(FOTOSCHLIFF_KONTAKT_MAIL), QStringLiteral(FOTOSCHLIFF_WEBSEITE)};
    for (int i = 0; i < 2; ++i) {
        auto* link = new KlickLabel(links[i], this);
        link->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        link->setGeometry(16 + 72 * i, 180, 64, 20);
        link->setToolTip(nurTextTipp(ziele[i]));
        connect(link, &KlickLabel::geklickt, this, [this, i] { Label1_Click(i); });
    }

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(334, 220, 90, 26);
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::Label1_Click(int index)
{
    switch (index) {
    case 0: {
        const QString text = mailLinkText(QStringLiteral(FOTOSCHLIFF_KONTAKT_MAIL),
                                          QStringLiteral("Fotoschliff fürs Flattrium"),
                                          mailNachricht(QStringLiteral(FOTOSCHLIFF_MACHER_NAME)));
        // Tolerant reading encodes the blanks and umlauts and leaves the %0D%0A as they are.
        dienste().urlOeffnen(this, QUrl(text, QUrl::TolerantMode));
        break;
    }
    case 1:
        dienste().urlOeffnen(this, QUrl(QStringLiteral(FOTOSCHLIFF_WEBSEITE), QUrl::TolerantMode));
        break;
    default:
        break;
    }
}

void frmAbout::cmdOK_Click() { close(); }


