#include "hilfe/Form3.h"

#include "platform/Nebenfenster.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Form3::Form3(QWidget* hauptfenster)
    : EigenesFenster(hauptfenster)
    , m_Label1(new QLabel(QStringLiteral("Hier steht die Überschrift"), this))
    , m_Label2(new QLabel(QStringLiteral("Hilfetext"), this))
    , m_Command1(new QPushButton(QStringLiteral("Schließen"), this))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Hilfe"));

    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label2->setObjectName(QStringLiteral("Label2"));
    m_Command1->setObjectName(QStringLiteral("Command1"));

    QFont fett = m_Label1->font();
    fett.setBold(true);
    fett.setPointSizeF(fett.pointSizeF() * 1.15);
    m_Label1->setFont(fett);
    // No help text uses markup; a "<" in one shows as written.
    m_Label1->setTextFormat(Qt::PlainText);
    m_Label2->setTextFormat(Qt::PlainText);
    m_Label1->setWordWrap(true);
    m_Label2->setWordWrap(true);
    m_Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(16, 14, 16, 12);
    spalte->setSpacing(10);
    spalte->addWidget(m_Label1);
    spalte->addWidget(m_Label2, 1);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(m_Command1);
    spalte->addLayout(zeile);
    m_Label2->setFixedWidth(560);

    m_Command1->setDefault(true);
    connect(m_Command1, &QPushButton::clicked, this, &Form3::schliessenKlick);
}

void Form3::setzeText(const QString& titel, const QString& text)
{
    m_Label1->setText(titel);
    m_Label2->setText(text);
    adjustSize();
}

void Form3::schliessenKlick()
{
    if (m_fundDialog && m_fundDialog->isVisible()) {
        m_fundDialog->setEnabled(true);
        m_fundDialog->raise();
    } else if (oeffner()) {
        oeffner()->setEnabled(true);
        oeffner()->raise();
    }
    close();
}

void Form3::freigeben()
{
    EigenesFenster::freigeben();
    if (m_fundDialog && m_fundDialog->isVisible())
        m_fundDialog->setEnabled(true);
}


