#include "window/RunningTimeLabel.h"

#include <QEvent>
#include <QGlyphRun>
#include <QPainter>

#include <algorithm>

void RunningTimeLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        fontRead_ = false;
    }
    QLabel::changeEvent(event);
}

QList<quint32> RunningTimeLabel::glyphsOf(const QString& shown) {
    if (!fontRead_) {
        rawFont_ = QRawFont::fromFont(font());
        fontRead_ = true;
    }
    const bool plain = alignment() == (Qt::AlignLeft | Qt::AlignTop) && margin() == 0 &&
                       indent() <= 0 && !wordWrap() && frameShape() == QFrame::NoFrame &&
                       isEnabled() && rawFont_.isValid();
    QList<quint32> glyphs = plain ? rawFont_.glyphIndexesForString(shown) : QList<quint32>();
    if (glyphs.size() != shown.size() ||
        std::find(glyphs.cbegin(), glyphs.cend(), 0U) != glyphs.cend()) {
        glyphs.clear();
    }
    return glyphs;
}

bool RunningTimeLabel::drawsGlyphByGlyph() {
    return !text().isEmpty() && !glyphsOf(text()).isEmpty();
}

void RunningTimeLabel::paintEvent(QPaintEvent* event) {
    const QList<quint32> glyphs = glyphsOf(text());
    if (glyphs.isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    QPointF pen;
    for (const QPointF& advance : rawFont_.advancesForGlyphIndexes(glyphs)) {
        positions.append(pen);
        pen += advance;
    }
    QGlyphRun run;
    run.setRawFont(rawFont_);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    QPainter painter(this);
    const QPalette::ColorGroup group = isActiveWindow() ? QPalette::Active : QPalette::Inactive;
    painter.setPen(palette().color(group, foregroundRole()));
    const QRect area = contentsRect();
    painter.drawGlyphRun(QPointF(area.left(), area.top() + rawFont_.ascent()), run);
}
