#include "window/RunningTimeLabel.h"

#include <gtest/gtest.h>

#include <QImage>

// The running time drawn glyph by glyph looks exactly as the plain label draws it.
TEST(RunningTimeLabel, DrawsEachTextPixelForPixelAsThePlainLabel) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(21.75);
    font.setBold(true);
    for (const char* text : {"00:00:00:000", "01:23:45:678", "11:19:07:041", "23:59:59:999"}) {
        RunningTimeLabel fast;
        QLabel plain;
        for (QLabel* label : {static_cast<QLabel*>(&fast), &plain}) {
            label->setFont(font);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setGeometry(0, 0, 177, 68);
            label->setText(QString::fromLatin1(text));
        }
        EXPECT_TRUE(fast.drawsGlyphByGlyph()) << text;
        EXPECT_EQ(fast.grab().toImage(), plain.grab().toImage()) << text;
    }
}

// A character the font lacks, or a text drawn another way, is left to the plain label.
TEST(RunningTimeLabel, LeavesWhatItCannotDrawToThePlainLabel) {
    RunningTimeLabel label(QStringLiteral("00:00:01:000"));
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    EXPECT_TRUE(label.drawsGlyphByGlyph());
    label.setText(QString::fromUtf8("00:00:01:000 \xf0\x9f\x98\x80"));
    EXPECT_FALSE(label.drawsGlyphByGlyph());
    label.setText(QStringLiteral("00:00:01:000"));
    label.setAlignment(Qt::AlignCenter);
    EXPECT_FALSE(label.drawsGlyphByGlyph());
}
