#pragma once

#include <QByteArray>

class LogFollower;

// What the web pages read (/data.json): the rankings per category and the latest attempts,
// newest first. "<", ">" and "&" are written as \u escapes, so the bytes hold no markup even
// when a team's name does.
namespace ResultsJson {

inline constexpr int latestAttempts = 20;

QByteArray document(const LogFollower& follower);

} // namespace ResultsJson
