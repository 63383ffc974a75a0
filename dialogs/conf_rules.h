#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

// Rules of the configuration dialog that need no window.

// The play count typed in the dialog: the leading decimal number of the text
// ("1.2.3" reads 1.2, "" and "abc" read 0), rounded to the nearest integer with
// halves to the even neighbour. Nothing when it does not fit in 16 signed bits.
std::optional<qint16> playCountFromText(const QString &text);

// The leading decimal number of a text, 0 when there is none.
double leadingNumber(const QString &text);

// "Arrêt du programme en fin de lecture" only makes sense for a single play:
// shown when "Lire" is chosen and its count reads exactly 1 (1, 01, 1.0).
bool quitAtEndVisible(bool playCountChosen, const QString &countText);

// The count box takes digits, the decimal point and backspace; every other
// typed character is dropped.
bool countKeyAccepted(QChar typed);
