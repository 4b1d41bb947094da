#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

// vysledky [FILE]            the window, on FILE or on ZAVOD.TXT in the current folder
// vysledky --csv FILE        the attempts as CSV on standard output
// vysledky --ranking FILE    the ranking as CSV on standard output
// vysledky --web [ADDRESS:]PORT [FILE]   the results on the local network, without a window
// --startovka LIST           with any of them: categories from a start list
// --opravy FILE              with any of them: the corrections file, instead of the one beside
//                            the log
//
// --help and -h print the usage, --version the version. Standard output gets the same CSV bytes
// as the files saved from the window and the web's tables.
struct CommandLine {
    enum class Mode { Window, Attempts, Ranking, Web, Help, Version, Error };

    static constexpr quint16 defaultWebPort = 8080;

    Mode mode = Mode::Window;
    QString file;
    QString startList;   // empty without --startovka
    QString corrections; // empty without --opravy: the file beside the log
    QString webAddress;  // empty: every interface
    quint16 webPort = defaultWebPort;
    QString error; // for Mode::Error, in Czech

    // The arguments as the application leaves them, the program's name first. Read by
    // QCommandLineParser; the messages are the program's own, in Czech.
    static CommandLine parse(const QStringList& arguments);

    // Whether the raw arguments ask for output without a window, so that the program starts
    // without a display.
    static bool withoutWindow(int argc, const char* const* argv);

    static QString usage();

    // The corrections file to use with the log.
    QString correctionsPath() const;

    // Writes the table to out, or the reason it cannot to err, and each line of the corrections
    // file that does not apply to err. Returns the exit code: 0, 1 when the file or the start
    // list cannot be read, 2 for wrong arguments.
    int run(QIODevice& out, QIODevice& err) const;
};
