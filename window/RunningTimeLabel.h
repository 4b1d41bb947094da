#pragma once

#include <QLabel>
#include <QRawFont>

// The running-time label. It takes a new text on every pass and is drawn up to sixty times a
// second, and the plain label lays its text out anew for each picture. The text holds only
// digits and separators, which need no shaping: each character is drawn as its glyph from the
// font, one after another at its advance, as the plain label places them. Any text with a
// character the font lacks is left to the plain label.
class RunningTimeLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    // Whether the current text is drawn glyph by glyph (else the plain label draws it).
    bool drawsGlyphByGlyph();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QList<quint32> glyphsOf(const QString& shown);

    QRawFont rawFont_;
    bool fontRead_ = false;
};
