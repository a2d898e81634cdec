#pragma once

#include <QSqlDatabase>
#include <QString>

class QSqlError;

// What the file system says about a database file and its folder, found out
// when something failed, so that the user is told the true reason.
struct Dateibefund {
    // What stands at the path; behind a symbolic link, what the link leads to.
    enum class Art {
        Gewoehnlich, // a regular file, or nothing yet
        Ordner,
        Pipe,
        Socket,
        Geraet,
        Sonstiges,
        InsLeere, // a link that leads nowhere
    };
    Art art = Art::Gewoehnlich;
    bool ordnerDa = true;          // the folder exists (or could be made)
    bool dateiDa = false;          // a regular file is there
    int lesen = 0;          // errno of opening the file for reading; 0: it can be read
    int schreiben = 0;      // errno of opening the file for writing
    int ordnerSchreiben = 0; // errno of writing a scratch file into the folder
    QString verweis{};      // where the path leads when it is a symbolic link; "" otherwise

    // What stands at the path, by looking alone: nothing is opened, since opening a
    // pipe waits for a writer and a device is no store.
    static Dateibefund ansehen(const QString& pfad);
    // That, and for a regular file (or none) what opening it and writing into its folder say.
    static Dateibefund von(const QString& pfad);
};

// One SQLite file of the program (set.db, data.db) on its own connection:
// opened with an integrity check, a damaged file put aside, and every failure
// told in the user's words.
class SqliteDatei {
public:
    SqliteDatei(const QString& verbindung, const QString& pfad);
    ~SqliteDatei();
    SqliteDatei(const SqliteDatei&) = delete;
    SqliteDatei& operator=(const SqliteDatei&) = delete;

    enum class Stand {
        Offen,          // open and sound
        Beiseitegelegt, // it was damaged, kept as beiseite, and a new empty file is open
        Fehlgeschlagen, // not open; grund says why; the file is left as it was
    };
    struct Oeffnung {
        Stand stand = Stand::Fehlgeschlagen;
        QString beiseite; // the name a damaged file was kept under
        QString grund;
    };

    // Makes the folder, opens the file (an empty one when it is missing) and checks
    // it. A file that is damaged or no database is renamed to "….defekt" (then
    // ".defekt2", …), never overwritten, and replaced by an empty one. Anything but a
    // regular file or a link to one is neither opened nor touched, and a link to a
    // damaged file stays as it is.
    Oeffnung oeffnen();
    void schliessen();
    bool offen() const;
    QSqlDatabase db() const;
    const QString& pfad() const { return m_pfad; }

    // Why a statement on this file failed, as one German sentence.
    QString grund(const QSqlError& fehler) const;

    // The reason from SQLite's (extended) result code, its text and the file
    // system's answer; ordner is the folder as the user should read it.
    static QString grund(int code, const QString& text, const Dateibefund& befund, const QString& ordner);
    static bool istBeschaedigt(int code);
    // Renames a damaged file to the first free "….defekt", "….defekt2", …; "" when it
    // cannot, and for anything that is not a regular file (a link is left as it is).
    static QString beiseiteLegen(const QString& pfad);

private:
    bool verbinden();

    QString m_verbindung;
    QString m_pfad;
};
