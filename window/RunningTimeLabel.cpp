#include "window/RunningTimeLabel.h"

#include <QEvent>
#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A glyph may reach a little to the left of where it is placed.
constexpr int leftOverhang = 2;

} // namespace

RunningTimeLabel::RunningTimeLabel(const QString& text, QWidget* parent)
    : QFrame(parent), text_(text), lineHeight_(fontMetrics().height()) {}

void RunningTimeLabel::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    const auto common = static_cast<qsizetype>(
        std::mismatch(drawn_.cbegin(), drawn_.cend(), text.cbegin(), text.cend()).first -
        drawn_.cbegin());
    const int from =
        common == 0 || common >= drawnPositions_.size()
            ? 0
            : std::max(0, static_cast<int>(std::floor(drawnPositions_[common].x())) - leftOverhang);
    // Between two pictures the running time takes some sixteen texts: the first marks what
    // changes, the rest mostly lie inside it already.
    if (from >= pendingFrom_) {
        return;
    }
    pendingFrom_ = from;
    const QRect area = contentsRect();
    if (from == 0) {
        update(area);
        return;
    }
    update(QRect(area.left() + from, area.top(), area.width() - from,
                 std::min(area.height(), lineHeight_)));
}

void RunningTimeLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        fontRead_ = false;
        lineHeight_ = fontMetrics().height();
        drawn_.clear();
        update();
    }
    QFrame::changeEvent(event);
}

RunningTimeLabel::Glyphs RunningTimeLabel::glyphsOf(const QString& text) {
    if (!fontRead_) {
        rawFont_ = QRawFont::fromFont(font());
        fontRead_ = true;
    }
    Glyphs glyphs;
    if (!rawFont_.isValid() || text.isEmpty()) {
        return glyphs;
    }
    glyphs.indexes = rawFont_.glyphIndexesForString(text);
    if (glyphs.indexes.size() != text.size() ||
        std::find(glyphs.indexes.cbegin(), glyphs.indexes.cend(), 0U) != glyphs.indexes.cend()) {
        glyphs.indexes.clear();
        return glyphs;
    }
    QPointF pen;
    for (const QPointF& advance : rawFont_.advancesForGlyphIndexes(glyphs.indexes)) {
        glyphs.positions.append(pen);
        pen += advance;
    }
    return glyphs;
}

bool RunningTimeLabel::drawsGlyphByGlyph() {
    return !glyphsOf(text_).indexes.isEmpty();
}

void RunningTimeLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (frameShape() != QFrame::NoFrame) {
        drawFrame(&painter);
    }
    const QPalette::ColorGroup group = !isEnabled()       ? QPalette::Disabled
                                       : isActiveWindow() ? QPalette::Active
                                                          : QPalette::Inactive;
    painter.setPen(palette().color(group, foregroundRole()));
    const QRect area = contentsRect();
    const Glyphs glyphs = glyphsOf(text_);
    if (glyphs.indexes.isEmpty()) {
        painter.drawText(area, static_cast<int>(alignment()), text_);
    } else {
        QGlyphRun run;
        run.setRawFont(rawFont_);
        run.setGlyphIndexes(glyphs.indexes);
        run.setPositions(glyphs.positions);
        painter.drawGlyphRun(QPointF(area.left(), area.top() + rawFont_.ascent()), run);
    }
    drawn_ = text_;
    drawnPositions_ = glyphs.positions;
    pendingFrom_ = std::numeric_limits<int>::max();
}
