#include "vysledky/QrCodeImage.h"

#include <qrencode.h>

#include <memory>

QImage qrCodeImage(const QString& text, int modulePixels) {
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.toUtf8().constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1),
        &QRcode_free);
    if (!code) {
        return {};
    }
    constexpr int quietZone = 4; // modules of white around the code, as readers expect
    const int side = (code->width + 2 * quietZone) * modulePixels;
    QImage image(side, side, QImage::Format_Mono);
    image.fill(1);
    image.setColor(0, qRgb(0, 0, 0));
    image.setColor(1, qRgb(255, 255, 255));
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // The lowest bit of each module's byte is its colour, 1 for dark.
            if ((code->data[y * code->width + x] & 1) == 0) {
                continue;
            }
            for (int dy = 0; dy < modulePixels; ++dy) {
                for (int dx = 0; dx < modulePixels; ++dx) {
                    image.setPixel((x + quietZone) * modulePixels + dx,
                                   (y + quietZone) * modulePixels + dy, 0);
                }
            }
        }
    }
    return image;
}
