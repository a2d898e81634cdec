#pragma once

#include "settings/SettingsRecord.h"

#include <QObject>
#include <QString>

#include <memory>

class QSqlError;
class QWidget;
class SqliteDatei;

// The settings database set.db in the per-user data folder. It is created
// with the defaults when missing; a file that is not a readable database is
// put aside, never overwritten. When the file exists but cannot be read (locked
// by another program, a folder, pipe or device in its place, a folder that cannot be made),
// the store runs on the defaults and refuses to write: a record that was not
// read is never written over.
class SettingsStore : public QObject {
    Q_OBJECT
public:
    // ordner: where set.db lives; empty means the per-user data folder.
    explicit SettingsStore(QObject* eltern = nullptr, const QString& ordner = {});
    ~SettingsStore() override;

    // (Re)opens the database and reads the record. besitzer owns the one
    // message shown when a damaged file had to be put aside, or when the
    // record could not be read and the defaults are used instead.
    void oeffnen(QWidget* besitzer = nullptr);
    // The same without the message of an unreadable record; true when the
    // record was read this time.
    bool wiederLesen(QWidget* besitzer = nullptr);
    const SettingsRecord& datensatz() const { return m_datensatz; }
    // True while the record could not be read and the defaults stand in.
    bool aufVorgaben() const { return m_aufVorgaben; }
    // Why the record could not be read, as a German sentence.
    QString lesefehler() const { return m_lesefehler; }

    // Writes the whole record in one transaction. On failure nothing stored
    // changes, the record read before stays, and false is returned. While
    // the store runs on the defaults, nothing is written.
    bool schreiben(const SettingsRecord& neu);

    QString dateipfad() const;
    QString letzterFehler() const { return m_fehler; }

    static QString standardOrdner();

private:
    void oeffnen(QWidget* besitzer, bool fehlerMelden);
    void aufVorgabenUmschalten(QWidget* besitzer, bool melden, const QString& grund);
    bool einrichten();
    bool lesen();
    // Keeps why a statement failed, in the user's words.
    void fehler(const QSqlError& fehler);

    QString m_ordner;
    std::unique_ptr<SqliteDatei> m_datei;
    SettingsRecord m_datensatz;
    QString m_fehler;
    bool m_aufVorgaben = false;
    QString m_lesefehler;
};
