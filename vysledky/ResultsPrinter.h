#pragma once

#include <QString>

class QPrinter;

// Prints an HTML page of results on the printer, page after page.
void printResults(QPrinter& printer, const QString& html);

// The same page as a PDF file. False when the file cannot be written.
bool saveResultsPdf(const QString& path, const QString& html);
