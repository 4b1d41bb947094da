#pragma once

#include <QImage>
#include <QString>

// The text as a QR code, black on white with the quiet zone around it, each module a square
// of modulePixels. A null image when the text does not fit in a code.
QImage qrCodeImage(const QString& text, int modulePixels);
