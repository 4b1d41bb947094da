#include "window/RunningTimeLabel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QLabel>

#include <vector>

// The running time looks exactly as a plain label draws it: on the screen, where each new
// text is drawn only from its first changed character on, and for a text drawn whole.
TEST(RunningTimeLabel, ShowsEveryTextPixelForPixelAsAPlainLabel) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(21.75);
    font.setBold(true);
    QWidget window;
    window.setFixedSize(177, 68);
    RunningTimeLabel fast(QStringLiteral("00:00:00:000"), &window);
    QLabel plain;
    for (QWidget* label : {static_cast<QWidget*>(&fast), static_cast<QWidget*>(&plain)}) {
        label->setFont(font);
        label->setGeometry(0, 0, 177, 68);
        label->setAutoFillBackground(true);
    }
    plain.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    window.show();
    // The texts set between two pictures, the last one shown, and whether it is drawn glyph by
    // glyph.
    const struct {
        std::vector<const char*> texts;
        bool glyphByGlyph;
    } pictures[] = {{{"00:00:00:000"}, true},
                    {{"00:00:00:001", "00:00:00:002", "00:00:00:013"}, true},
                    {{"00:00:01:119"}, true},
                    {{"01:23:45:678"}, true},
                    {{"01:23:45:671", "01:23:44:000", "01:23:44:001"}, true},
                    {{"01:23:45:6"}, true},
                    {{"01:23:45:699"}, true},
                    {{"23:59:59:999"}, true},
                    {{"00:00:00:000 \xE2\x86\x90\xF0\x9F\x98\x80"}, false},
                    {{"00:00:00:001"}, true}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.texts.back());
        for (const char* text : p.texts) {
            fast.setText(QString::fromUtf8(text));
        }
        plain.setText(fast.text());
        QApplication::processEvents();
        const auto* screen = dynamic_cast<QImage*>(window.backingStore()->paintDevice());
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(screen->copy(fast.geometry()).convertToFormat(QImage::Format_RGB32),
                  plain.grab().toImage().convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(fast.drawsGlyphByGlyph(), p.glyphByGlyph);
    }
}
