#pragma once

#include <QByteArray>

class LiveFeed;

// The panel „Na trati“ as the pages read it from the live stream, at the moment it is made:
// zobrazit (whether it is shown), bezi (whether the clock runs on), druzstvo, ubehloMs (the
// running time now), cas (it in hundredths), draha1, draha2 (exact thousandths), konec (the
// result and its place, or the state), and seq and zdrojMs: which publication it shows and when
// the timing program made it, on CLOCK_MONOTONIC. Markup characters as \u escapes.
namespace LiveJson {

QByteArray event(const LiveFeed& feed);

} // namespace LiveJson
