#pragma once

#include <QString>

#include <optional>

// One decision of the results desk about one attempt of the log, a line of the corrections file.
struct Decision {
    enum class Kind {
        Assign,  // the attempt is the team's in value
        Invalid, // ruled invalid by the judges: counts as a disqualification
        Valid,   // undoes Invalid or Drop: the attempt counts as the log has it
        Drop,    // a test run: shown struck out, never ranked
    };

    QString when;        // local time, "2026-06-14 10:32:05"
    int attempt = 0;     // the attempt's number in the log, from 1
    QString fingerprint; // Attempt::fingerprint() of the attempt as the log had it
    Kind kind = Kind::Assign;
    QString value; // the team, for Assign
    QString reason;
    int line = 0; // in the file, from 1

    // What it did, for the tables' hover and the list: "přiřazen družstvu SDH Lhota: ...".
    QString summary() const;
};

// The words of the file: "družstvo", "neplatný", "platný", "vyřazen".
QString kindText(Decision::Kind kind);
std::optional<Decision::Kind> kindFromText(const QString& text);

// A line of the file that does not apply, and why.
struct LineProblem {
    int line = 0;
    QString text;

    // "ZAVOD.opravy.csv, řádek 4: ...; řádek se nepoužije."
    QString told(const QString& fileName) const;

    bool operator==(const LineProblem&) const = default;
};
