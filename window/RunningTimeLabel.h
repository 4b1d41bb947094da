#pragma once

#include <QFrame>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <limits>

// The running time: a label that takes a new text on every pass and is drawn up to sixty times
// a second. A plain label lays its whole text out anew for each picture and redraws all of
// it; here the text, only digits and separators, is drawn glyph by glyph from the font at each
// glyph's advance, as a plain label places them, and a new text redraws only from its first
// changed character on: while a race runs, the last few digits. A text with a character the
// font lacks is laid out and drawn whole, as a plain label does. Left and top aligned.
class RunningTimeLabel : public QFrame {
    Q_OBJECT

public:
    explicit RunningTimeLabel(const QString& text, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    Qt::Alignment alignment() const { return Qt::AlignLeft | Qt::AlignTop; }

    // Whether the current text is drawn glyph by glyph.
    bool drawsGlyphByGlyph();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Glyphs {
        QList<quint32> indexes; // empty: drawn as a whole text
        QList<QPointF> positions;
    };
    Glyphs glyphsOf(const QString& text);

    QString text_;
    QRawFont rawFont_;
    bool fontRead_ = false;
    // What the last picture shows, so a new text redraws from its first change on.
    QString drawn_;
    QList<QPointF> drawnPositions_;
    int lineHeight_;
    // Where the part marked for the next picture begins; none is marked: the largest int.
    int pendingFrom_ = 0;
};
