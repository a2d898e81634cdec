#include "platform/Dienste.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A confirmed name with a wildcard, like the proposal "*.jpg", narrows the
// listing as in the classic dialogs, instead of opening or writing a file of
// that name. Only Qt's own dialog has the name box; a native one decides itself.
class Dateiauswahl final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const auto* namensfeld = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString name = namensfeld ? namensfeld->text().trimmed() : QString();
        if (name.contains(u'*') || name.contains(u'?')) {
            setNameFilter(name);
            return;
        }
        QFileDialog::accept();
    }
};

// Messages name files and repeat what was typed: "<b>Käfer</b>.jpg" must show as it
// is called, not bold under another name. No message of the program uses markup.
void nurText(QMessageBox& box) { box.setTextFormat(Qt::PlainText); }

class QtDienste final : public Dienste {
public:
    void meldung(QWidget* besitzer, const QString& text, const QString& titel, Symbol symbol) override
    {
        meldungMitDetails(besitzer, text, QString(), titel, symbol);
    }

    void meldungMitDetails(QWidget* besitzer, const QString& text, const QString& details, const QString& titel,
                           Symbol symbol) override
    {
        QMessageBox box(symbol == Symbol::Fehler ? QMessageBox::Critical
                        : symbol == Symbol::Info ? QMessageBox::Information
                                                 : QMessageBox::NoIcon,
                        titel, text, QMessageBox::Ok, besitzer);
        nurText(box);
        if (!details.isEmpty())
            box.setDetailedText(details);
        box.exec();
    }

    int frage(QWidget* besitzer, const QString& text, const QString& titel, const QStringList& antworten, int standard) override
    {
        return frageMitSperre(besitzer, text, titel, antworten, standard, -1);
    }

    int frageMitSperre(QWidget* besitzer, const QString& text, const QString& titel, const QStringList& antworten, int standard,
                       int gesperrt) override
    {
        QMessageBox box(QMessageBox::Question, titel, text, QMessageBox::NoButton, besitzer);
        nurText(box);
        QList<QAbstractButton*> knoepfe;
        for (qsizetype i = 0; i < antworten.size(); ++i)
            knoepfe << box.addButton(antworten[i], i + 1 == antworten.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        if (knoepfe.isEmpty())
            return -1;
        if (gesperrt >= 0 && gesperrt < knoepfe.size())
            knoepfe[gesperrt]->setEnabled(false);
        box.setDefaultButton(qobject_cast<QPushButton*>(knoepfe.value(standard, knoepfe.constFirst())));
        box.setEscapeButton(knoepfe.constLast());
        box.exec();
        const qsizetype gewaehlt = knoepfe.indexOf(box.clickedButton());
        return int(gewaehlt >= 0 ? gewaehlt : knoepfe.size() - 1);
    }

    bool dateiOeffnen(QWidget* besitzer, DateiDialog& dialog) override { return zeigen(besitzer, dialog, false); }
    bool dateiSpeichern(QWidget* besitzer, DateiDialog& dialog) override { return zeigen(besitzer, dialog, true); }

    QString ordnerWaehlen(QWidget* besitzer, const QString& titel, const QString& start) override
    {
        const QString anfang = !start.isEmpty() && QFileInfo(start).isDir() ? start : QDir::homePath();
        const QString ordner = QFileDialog::getExistingDirectory(besitzer, titel, anfang, QFileDialog::ShowDirsOnly);
        if (ordner.isEmpty() || !QFileInfo(ordner).isDir())
            return {};
        return QDir::toNativeSeparators(ordner);
    }

    void zwischenablageSetzen(const QString& text) override
    {
        QClipboard* ablage = QGuiApplication::clipboard();
        ablage->clear();
        ablage->setText(text);
    }

    bool urlOeffnen(QWidget*, const QUrl& url) override { return QDesktopServices::openUrl(url); }

private:
    static bool zeigen(QWidget* besitzer, DateiDialog& dialog, bool speichern)
    {
        QFileDialog* qdlg = dateiDialogErzeugen(besitzer, dialog, speichern);
        const bool ok = qdlg->exec() == QDialog::Accepted && !qdlg->selectedFiles().isEmpty();
        if (ok)
            dateiDialogGewaehlt(dialog, QDir::toNativeSeparators(qdlg->selectedFiles().constFirst()));
        delete qdlg;
        return ok;
    }
};

QtDienste& qtDienste()
{
    static QtDienste dienste;
    return dienste;
}

Dienste* aktuelle = nullptr;

} // namespace

void dateiDialogGewaehlt(DateiDialog& dialog, const QString& pfad)
{
    dialog.FileName = pfad;
    dialog.FileTitle = QFileInfo(pfad).fileName();
    dialog.letzterOrdner = QFileInfo(pfad).absolutePath();
}

Dienste& dienste() { return aktuelle ? *aktuelle : qtDienste(); }

void diensteSetzen(Dienste* ersatz) { aktuelle = ersatz; }

void meldung(QWidget* besitzer, const QString& text, const QString& titel, Dienste::Symbol symbol)
{
    dienste().meldung(besitzer, text, titel.isEmpty() ? programmTitel() : titel, symbol);
}

void meldungMitDetails(QWidget* besitzer, const QString& text, const QString& details, const QString& titel,
                       Dienste::Symbol symbol)
{
    dienste().meldungMitDetails(besitzer, text, details, titel.isEmpty() ? programmTitel() : titel, symbol);
}

QStringList qtFilter(const QString& filter)
{
    QStringList eintraege;
    const QStringList teile = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < teile.size(); i += 2) {
        const QString muster = teile[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ');
        eintraege << QStringLiteral("%1 (%2)").arg(teile[i], muster);
    }
    return eintraege;
}

QFileDialog* dateiDialogErzeugen(QWidget* besitzer, const DateiDialog& dialog, bool speichern)
{
    auto* qdlg = new Dateiauswahl(besitzer, dialog.DialogTitle);
    qdlg->setAcceptMode(speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    qdlg->setFileMode(speichern ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    qdlg->setNameFilters(qtFilter(dialog.Filter));
    qdlg->setOption(QFileDialog::HideNameFilterDetails);
    if (!dialog.Ueberschreibfrage)
        qdlg->setOption(QFileDialog::DontConfirmOverwrite);
    if (!dialog.InitDir.isEmpty() && QFileInfo(dialog.InitDir).isDir())
        qdlg->setDirectory(dialog.InitDir);
    else if (!dialog.letzterOrdner.isEmpty() && QFileInfo(dialog.letzterOrdner).isDir())
        qdlg->setDirectory(dialog.letzterOrdner);
    if (!dialog.zuletzt.isEmpty()) {
        qdlg->setHistory(dialog.zuletzt);
        QList<QUrl> seitenleiste = qdlg->sidebarUrls();
        for (const QString& ordner : dialog.zuletzt) {
            const QUrl url = QUrl::fromLocalFile(ordner);
            if (QFileInfo(ordner).isDir() && !seitenleiste.contains(url))
                seitenleiste << url;
        }
        qdlg->setSidebarUrls(seitenleiste);
    }
    const QString name = QFileInfo(dialog.FileName).fileName();
    if (!name.isEmpty())
        qdlg->selectFile(name);
    return qdlg;
}
